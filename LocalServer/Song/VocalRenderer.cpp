#include "VocalRenderer.h"

#include "SongGenre.h"
#include "SongMelody.h"

#include <espeak-ng/speak_lib.h>
#include <sonic.h>

#include <algorithm>
#include <cmath>
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
bool startEngine(QString* error) {
    static const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate != VocalRenderer::sampleRate) {
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

// The word without the quiet espeak-ng leaves before and after it.
void trimSilence(std::vector<float>& samples) {
    constexpr float floor = 0.01f;
    const auto loud = [](float s) { return std::abs(s) > floor; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    samples = first < last ? std::vector<float>(first, last) : std::vector<float>();
}

std::vector<float> changeSpeed(std::vector<float>& samples, float speed) {
    sonicStream stream = sonicCreateStream(VocalRenderer::sampleRate, 1);
    sonicSetSpeed(stream, speed);
    sonicWriteFloatToStream(stream, samples.data(), int(samples.size()));
    sonicFlushStream(stream);
    std::vector<float> out(size_t(sonicSamplesAvailable(stream)));
    out.resize(size_t(sonicReadFloatFromStream(stream, out.data(), int(out.size()))));
    sonicDestroyStream(stream);
    return out;
}

} // namespace

std::optional<std::vector<float>> VocalRenderer::render(const SongMelody& melody, const SongGenre& genre,
                                                        double beatSeconds, qsizetype totalSamples,
                                                        QString* error) {
    std::vector<float> vocal(size_t(totalSamples), 0.0f);
    const std::lock_guard lock(engineMutex);
    if (!startEngine(error))
        return std::nullopt;
    // Sung words hold one pitch; spoken ones keep some of speech's rise and fall.
    espeak_SetParameter(espeakRANGE, genre.sung ? 0 : 35, 0);
    espeak_SetParameter(espeakRATE, genre.sung ? 150 : 190, 0);
    for (const SongMelody::Note& note : melody.notes) {
        std::vector<float> word;
        espeak_SetParameter(espeakPITCH, std::clamp(50 + 5 * note.semitone, 0, 100), 0);
        const QByteArray text = note.word.toUtf8();
        const espeak_ERROR result = espeak_Synth(text.constData(), size_t(text.size()) + 1, 0, POS_CHARACTER,
                                                 0, espeakCHARS_UTF8, nullptr, &word);
        if (result != EE_OK) {
            *error = QStringLiteral("espeak-ng could not say “%1”").arg(note.word);
            return std::nullopt;
        }
        trimSilence(word);
        if (word.empty())
            continue;
        // A sung word fills most of its note; a spoken one is only hurried when it would overrun.
        const double room = note.beats * beatSeconds * sampleRate * (genre.sung ? 0.92 : 0.98);
        const double speed = word.size() / room;
        if (genre.sung || speed > 1.0)
            word = changeSpeed(word, float(std::clamp(speed, 0.5, 3.0)));
        const auto start = qsizetype(std::llround(note.startBeat * beatSeconds * sampleRate));
        // A few milliseconds' fade at both ends, so that cut words don't click.
        const qsizetype ramp = std::min<qsizetype>(qsizetype(word.size()) / 4, sampleRate / 200);
        for (qsizetype i = 0; i < qsizetype(word.size()) && start + i < totalSamples; ++i) {
            const qsizetype fromEnd = qsizetype(word.size()) - 1 - i;
            const float gain = ramp > 0 ? float(std::min<qsizetype>({i, fromEnd, ramp})) / ramp : 1.0f;
            vocal[size_t(start + i)] += word[size_t(i)] * gain;
        }
    }
    return vocal;
}
