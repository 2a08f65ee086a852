#include "Songs/EspeakWords.h"

#include "Songs/SongMelody.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <mutex>

namespace {

std::mutex engineMutex;

int collect(short* samples, int count, espeak_EVENT* events) {
    if (samples && count > 0 && events && events->user_data) {
        auto* out = static_cast<std::vector<float>*>(events->user_data);
        for (int i = 0; i < count; ++i)
            out->push_back(samples[i] / 32768.0f);
    }
    return 0;
}

// Starts the engine once per process; false when its data can't be found.
bool startEngine(int sampleRate, QString* error) {
    static const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate != sampleRate) {
        *error = QStringLiteral("espeak-ng could not be started");
        return false;
    }
    espeak_SetSynthCallback(collect);
    if (espeak_SetVoiceByName("en-us") != EE_OK) {
        *error = QStringLiteral("espeak-ng has no en-us voice");
        return false;
    }
    return true;
}

} // namespace

std::optional<std::vector<std::vector<float>>> EspeakWords::sing(const SongMelody& melody, bool sung,
                                                                 int sampleRate, QString* error) {
    const std::lock_guard lock(engineMutex);
    if (!startEngine(sampleRate, error))
        return std::nullopt;
    espeak_SetParameter(espeakRANGE, sung ? 0 : 35, 0);
    espeak_SetParameter(espeakRATE, sung ? 150 : 190, 0);
    std::vector<std::vector<float>> takes;
    takes.reserve(size_t(melody.notes.size()));
    for (const SongMelody::Note& note : melody.notes) {
        std::vector<float>& word = takes.emplace_back();
        espeak_SetParameter(espeakPITCH, std::clamp(50 + 5 * note.semitone, 0, 100), 0);
        const QByteArray text = note.word.toUtf8();
        const espeak_ERROR result = espeak_Synth(text.constData(), size_t(text.size()) + 1, 0, POS_CHARACTER,
                                                 0, espeakCHARS_UTF8, nullptr, &word);
        if (result != EE_OK) {
            *error = QStringLiteral("espeak-ng could not say “%1”").arg(note.word);
            return std::nullopt;
        }
    }
    return takes;
}
