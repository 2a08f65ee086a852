#include "Songs/FliteWords.h"

#include <flite/flite.h>

#include <mutex>

extern "C" cst_voice* register_cmu_us_slt(const char* voxdir);

namespace {

std::mutex voiceMutex;

cst_voice* slt() {
    static cst_voice* const voice = [] {
        flite_init();
        return register_cmu_us_slt(nullptr);
    }();
    return voice;
}

} // namespace

std::optional<SpokenWords> FliteWords::say(const QStringList& words, QString* error) {
    const std::lock_guard lock(voiceMutex);
    cst_voice* const voice = slt();
    if (!voice) {
        *error = QStringLiteral("flite's slt voice could not be loaded");
        return std::nullopt;
    }
    SpokenWords takes;
    takes.words.reserve(size_t(words.size()));
    for (const QString& word : words) {
        cst_wave* wave = flite_text_to_wave(word.toLatin1().constData(), voice);
        if (!wave) {
            *error = QStringLiteral("flite could not say “%1”").arg(word);
            return std::nullopt;
        }
        takes.sampleRate = wave->sample_rate;
        std::vector<float>& take = takes.words.emplace_back(size_t(wave->num_samples));
        for (size_t i = 0; i < take.size(); ++i)
            take[i] = wave->samples[i * size_t(wave->num_channels)] / 32768.0f;
        delete_wave(wave);
    }
    return takes;
}
