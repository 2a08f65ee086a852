#pragma once

#include <QString>

struct InstalledVoices;

// A speech engine and the voice it speaks with.
struct SpeechVoice {
    enum class Engine { festival, flite, espeak };

    Engine engine = Engine::espeak;
    // festival: the voice as its voice_… command names it; flite: its -voice; espeak-ng: its -v.
    QString name = QStringLiteral("en-us");

    // The engine as narration playlists and the start-up log name it.
    QString provider() const;
    bool operator==(const SpeechVoice&) const = default;

    // The most intelligible of what is installed: festival with an English HTS voice, else flite's
    // slt, else espeak-ng (also when nothing is found, so that synthesis says what is missing).
    static SpeechVoice mostIntelligible(const InstalledVoices& installed);
};
