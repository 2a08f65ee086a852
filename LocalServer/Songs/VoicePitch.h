#pragma once

#include <optional>
#include <vector>

// The pitch a stretch of speech is spoken at, so that a word can be moved onto a note.
class VoicePitch {
public:
    static constexpr double lowestHz = 60.0;
    static constexpr double highestHz = 500.0;

    // The median fundamental frequency of the voiced 30 ms frames, by normalised autocorrelation.
    // Nothing when no frame is voiced (silence, noise, a lone "s").
    static std::optional<double> median(const std::vector<float>& samples, int sampleRate);
};
