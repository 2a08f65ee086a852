#include "Songs/VoicePitch.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// How alike a frame is to itself `lag` samples later: 1 for a perfectly periodic signal.
double similarity(const float* x, int length, int lag) {
    double cross = 0, early = 0, late = 0;
    for (int i = 0; i < length; ++i) {
        cross += double(x[i]) * x[i + lag];
        early += double(x[i]) * x[i];
        late += double(x[i + lag]) * x[i + lag];
    }
    return early > 0 && late > 0 ? cross / std::sqrt(early * late) : 0;
}

} // namespace

std::optional<double> VoicePitch::median(const std::vector<float>& input, int sampleRate) {
    // Pitch needs only the lowest few kHz: halving the rate (pairs averaged) quarters the work.
    std::vector<float> samples;
    if (sampleRate > 16000) {
        samples.resize(input.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = (input[2 * i] + input[2 * i + 1]) / 2;
        sampleRate /= 2;
    } else {
        samples = input;
    }
    const int length = sampleRate * 30 / 1000;
    const int hop = length / 2;
    const int shortest = int(sampleRate / highestHz);
    const int longest = int(sampleRate / lowestHz);
    const auto frames = std::ssize(samples) - length - longest;
    float peak = 0;
    for (const float s : samples)
        peak = std::max(peak, std::abs(s));
    std::vector<double> pitches;
    for (std::ptrdiff_t start = 0; start < frames; start += hop) {
        const float* frame = samples.data() + start;
        // Quiet frames are the word's edges and pauses, not its voice.
        if (*std::max_element(frame, frame + length,
                              [](float a, float b) { return std::abs(a) < std::abs(b); }) < 0.2f * peak)
            continue;
        std::vector<double> scores(size_t(longest + 1), 0.0);
        double best = 0;
        for (int lag = shortest; lag <= longest; ++lag) {
            scores[size_t(lag)] = similarity(frame, length, lag);
            best = std::max(best, scores[size_t(lag)]);
        }
        if (best < 0.7)
            continue;
        // The shortest period that repeats nearly as well as the best: a multiple of the true
        // period repeats too and would read an octave or more low.
        for (int lag = shortest + 1; lag < longest; ++lag) {
            const double s = scores[size_t(lag)];
            const double before = scores[size_t(lag - 1)], after = scores[size_t(lag + 1)];
            if (s >= 0.9 * best && s >= before && s >= after) {
                // Between whole samples: the peak of the parabola through the three scores.
                const double curve = before - 2 * s + after;
                const double offset = curve < 0 ? 0.5 * (before - after) / curve : 0;
                pitches.push_back(double(sampleRate) / (lag + offset));
                break;
            }
        }
    }
    if (pitches.empty())
        return std::nullopt;
    std::nth_element(pitches.begin(), pitches.begin() + std::ssize(pitches) / 2, pitches.end());
    return pitches[size_t(std::ssize(pitches) / 2)];
}
