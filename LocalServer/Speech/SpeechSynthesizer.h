#pragma once

#include <QString>

// Speech audio made with espeak-ng as 16-bit PCM WAV files.
class SpeechSynthesizer {
public:
    static constexpr auto provider = "espeak-ng";
    static constexpr auto defaultVoice = "en-us";

    // The espeak-ng voice for a requested voice name; unknown names fall back to the default.
    static QString voiceFor(const QString& requested);
    // Writes `text` spoken by `voice` to `path`; false with a message in `error` on failure.
    static bool synthesize(const QString& text, const QString& voice, const QString& path, QString* error);

private:
    static bool run(const QString& text, const QString& voice, const QString& path, QString* error);
};
