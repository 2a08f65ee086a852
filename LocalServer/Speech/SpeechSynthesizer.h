#pragma once

#include "Speech/SpeechVoice.h"

#include <QString>

// Speech audio as 16-bit PCM WAV files, made by the engine of the voice asked for: festival's
// text2wave, flite or espeak-ng, each run as its own process.
class SpeechSynthesizer {
public:
    static constexpr auto defaultEspeakVoice = "en-us";

    // The voice a request gets from `chosen`, the server's engine. A requested name is an espeak-ng
    // voice and only means something to espeak-ng (unknown names fall back to its default);
    // festival and flite speak with the chosen voice whatever was asked.
    static SpeechVoice voiceFor(const SpeechVoice& chosen, const QString& requested);
    // Writes `text` spoken by `voice` to `path`; false with a message in `error` on failure.
    static bool synthesize(const QString& text, const SpeechVoice& voice, const QString& path,
                           QString* error);

private:
    static bool run(const QString& program, const QStringList& arguments, const QByteArray& text,
                    const QString& partial, const QString& path, QString* error);
};
