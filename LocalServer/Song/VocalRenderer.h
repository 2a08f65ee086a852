#pragma once

#include <QString>
#include <optional>
#include <vector>

struct SongGenre;
struct SongMelody;

// The vocal, rendered in this process with libespeak-ng: each word spoken at its note's pitch (a
// flat monotone for sung genres, speech's own intonation for spoken ones), fitted to its note's
// length with Sonic and placed on its beat. espeak-ng keeps one engine per process, so renders are
// serialised.
class VocalRenderer {
public:
    static constexpr int sampleRate = 22050;
    // espeak-ng's en-us voice at pitch 50 with no pitch range speaks at about this frequency; each
    // five steps of its pitch setting are about a semitone.
    static constexpr double basePitchHz = 89.0;

    // `totalSamples` long, mono at sampleRate, samples in -1…1. Nothing with a message on failure.
    static std::optional<std::vector<float>> render(const SongMelody& melody, const SongGenre& genre,
                                                    double beatSeconds, qsizetype totalSamples,
                                                    QString* error);
};
