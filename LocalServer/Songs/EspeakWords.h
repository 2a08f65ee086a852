#pragma once

#include <QString>
#include <optional>
#include <vector>

struct SongMelody;

// A melody's words spoken by libespeak-ng in this process, each at its note's pitch by espeak-ng's
// pitch setting: a flat monotone for sung words, speech's own intonation for spoken ones.
// espeak-ng keeps one engine per process, so calls are serialised.
class EspeakWords {
public:
    // One take a note, mono at `sampleRate` (espeak-ng's own, 22,050 Hz), silence and all.
    static std::optional<std::vector<std::vector<float>>> sing(const SongMelody& melody, bool sung,
                                                               int sampleRate, QString* error);
};
