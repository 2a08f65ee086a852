#pragma once

#include <QtGlobal>
#include <vector>

struct SongArrangement;
struct SongGenre;

// The genre's band, synthesised sample by sample: kick (a falling sine), snare and hats (noise
// bursts), a bass on each bar's chord root and the chords in the genre's timbre, on the genre's
// sixteen-step patterns and progression. Deterministic: the noise comes from a fixed seed.
class BackingTrack {
public:
    // `totalSamples` long, mono at `sampleRate`, samples in -1…1.
    static std::vector<float> render(const SongGenre& genre, const SongArrangement& arrangement,
                                     int sampleRate, qsizetype totalSamples);
};
