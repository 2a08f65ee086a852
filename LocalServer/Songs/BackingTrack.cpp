#include "Songs/BackingTrack.h"

#include "Songs/SongArrangement.h"
#include "Songs/SongGenre.h"
#include "Songs/VocalRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Tone = SongGenre::Tone;
constexpr double twoPi = 2 * std::numbers::pi;

class Band {
public:
    Band(std::vector<float>& out, int rate) : out_(out), rate_(rate) {}

    // Kick: a sine falling from 110 Hz to 45 Hz, fading fast.
    void kick(qsizetype at, float level) {
        double phase = 0;
        for (qsizetype i = 0; i < rate_ * 3 / 10; ++i) {
            const double t = double(i) / rate_;
            phase += twoPi * (45 + 65 * std::exp(-t / 0.04)) / rate_;
            add(at + i, level * float(std::sin(phase) * std::exp(-t / 0.11)));
        }
    }

    // Snare: a burst of noise over a short 190 Hz tone.
    void snare(qsizetype at, float level) {
        for (qsizetype i = 0; i < rate_ / 5; ++i) {
            const double t = double(i) / rate_;
            const double body = std::sin(twoPi * 190 * t) * std::exp(-t / 0.03);
            add(at + i, level * float(0.6 * noise() * std::exp(-t / 0.05) + 0.4 * body));
        }
    }

    // Hat: the differences of white noise (its high end), a few tens of milliseconds long.
    void hat(qsizetype at, float level) {
        float previous = 0;
        for (qsizetype i = 0; i < rate_ / 20; ++i) {
            const float n = noise();
            add(at + i, level * 0.5f * (n - previous) * float(std::exp(-double(i) / rate_ / 0.012)));
            previous = n;
        }
    }

    void note(qsizetype at, qsizetype length, double hz, Tone tone, float level) {
        if (tone == Tone::pluck)
            return pluck(at, length, hz, level);
        const qsizetype attack = rate_ / 200;
        const qsizetype release = std::min(length / 3, qsizetype(rate_ / 25));
        for (qsizetype i = 0; i < length; ++i) {
            const double phase = twoPi * hz * i / rate_;
            double v = 0;
            switch (tone) {
            case Tone::sine: // a soft electric piano: the octave fades first
                v = std::sin(phase) + 0.3 * std::sin(2 * phase) * std::exp(-double(i) / rate_ / 0.3);
                break;
            case Tone::organ:
                v = 0.6 * std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase);
                break;
            case Tone::saw: // the first harmonics of a sawtooth
                for (int h = 1; h <= 6; ++h)
                    v += std::sin(h * phase) / h;
                v *= 0.6;
                break;
            case Tone::square: // overdriven: a clipped sine
                v = std::tanh(4 * std::sin(phase)) * 0.5;
                break;
            case Tone::pluck:
                break;
            }
            const double envelope = std::min({1.0, double(i) / attack, double(length - i) / release});
            add(at + i, level * float(v * envelope));
        }
    }

    // A plucked string (Karplus–Strong): a noise burst through a delay line as long as the period.
    void pluck(qsizetype at, qsizetype length, double hz, float level) {
        std::vector<float> line(size_t(std::max(2.0, rate_ / hz)));
        for (float& s : line)
            s = noise();
        size_t k = 0;
        for (qsizetype i = 0; i < length; ++i) {
            const size_t next = (k + 1) % line.size();
            const float s = line[k];
            line[k] = 0.498f * (s + line[next]);
            k = next;
            const double tail = std::min(1.0, double(length - i) / (rate_ / 50.0));
            add(at + i, level * s * float(tail));
        }
    }

    // Vinyl crackle: sparse clicks over a faint hiss.
    void crackle(float level) {
        for (qsizetype i = 0; i < qsizetype(out_.size()); ++i) {
            const float n = noise();
            out_[size_t(i)] += level * (0.05f * n + (std::abs(n) > 0.9995f ? n : 0.0f));
        }
    }

private:
    void add(qsizetype i, float v) {
        if (i >= 0 && i < qsizetype(out_.size()))
            out_[size_t(i)] += v;
    }

    // A fixed linear congruential generator: the same noise in every run.
    float noise() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return float(seed_ >> 8) / float(1u << 23) - 1.0f;
    }

    std::vector<float>& out_;
    int rate_;
    quint32 seed_ = 12345;
};

double hzOf(int semitone) {
    return VocalRenderer::basePitchHz * std::pow(2.0, semitone / 12.0);
}

// Steps of a pattern that sound, with their level: "x" full, "o" soft.
float stepLevel(const QString& pattern, int step) {
    const QChar c = pattern.at(step % pattern.size());
    return c == u'x' ? 1.0f : c == u'o' ? 0.5f : 0.0f;
}

// Sixteenths until the pattern's next hit (or the bar's end).
int stepsToNext(const QString& pattern, int step) {
    int next = step + 1;
    while (next < 16 && stepLevel(pattern, next) == 0)
        ++next;
    return next - step;
}

} // namespace

std::vector<float> BackingTrack::render(const SongGenre& genre, const SongArrangement& arrangement,
                                        int sampleRate, qsizetype totalSamples) {
    std::vector<float> out(size_t(totalSamples), 0.0f);
    Band band(out, sampleRate);
    const double sixteenth = arrangement.beatSeconds() / 4 * sampleRate;
    const int bars = arrangement.totalBeats / 4;
    for (int bar = 0; bar < bars; ++bar) {
        const int chord = bar % genre.chordRoots.size();
        // The root within an octave: the bass an octave below the vocal base, the chords an octave above.
        const int root = ((genre.tonic + genre.chordRoots.at(chord)) % 12 + 12) % 12;
        const bool minor = genre.minorChords.at(chord);
        // Lo-fi adds the seventh; rock plays power chords.
        QList<int> tones{0, 7};
        if (genre.chordTone != Tone::square)
            tones.insert(1, minor ? 3 : 4);
        if (genre.crackle)
            tones.append(minor ? 10 : 11);
        for (int step = 0; step < 16; ++step) {
            // Off-beat sixteenths come late by the genre's swing.
            const double late = step % 2 ? genre.swing * sixteenth : 0;
            const auto at = qsizetype(std::llround((bar * 16 + step) * sixteenth + late));
            if (const float level = stepLevel(genre.kick, step))
                band.kick(at, 0.9f * level);
            if (const float level = stepLevel(genre.snare, step))
                band.snare(at, 0.5f * level);
            if (const float level = stepLevel(genre.hat, step))
                band.hat(at, 0.25f * level);
            if (const float level = stepLevel(genre.bass, step)) {
                const auto length = qsizetype(stepsToNext(genre.bass, step) * sixteenth * 0.9);
                band.note(at, length, hzOf(root - 12), genre.bassTone, 0.35f * level);
            }
            if (const float level = stepLevel(genre.chords, step)) {
                const auto length = qsizetype(stepsToNext(genre.chords, step) * sixteenth * 0.95);
                // A strummed chord: each string a little after the one before.
                const auto strum = qsizetype(genre.chordTone == Tone::pluck ? sampleRate / 80 : 0);
                for (qsizetype t = 0; t < tones.size(); ++t)
                    band.note(at + t * strum, length - t * strum, hzOf(root + 12 + tones.at(t)),
                              genre.chordTone, 0.12f * level);
            }
        }
    }
    if (genre.crackle)
        band.crackle(0.3f);
    return out;
}
