#pragma once

#include <QString>
#include <optional>
#include <vector>

struct SongGenre;
struct SongMelody;
struct SpeechVoice;

// The vocal, each word said by the song's voice, moved onto its note's pitch, fitted to its note's
// length with Sonic and placed on its beat. espeak-ng says each word at its note's pitch itself;
// festival and flite say each distinct word once in their own voice, and Sonic moves it to the note,
// in the octave nearest that voice so that a high voice sings above the band's tuning.
class VocalRenderer {
public:
    static constexpr int sampleRate = 22050;
    // espeak-ng's en-us voice at pitch 50 with no pitch range speaks at about this frequency; each
    // five steps of its pitch setting are about a semitone.
    static constexpr double basePitchHz = 89.0;

    // `totalSamples` long, mono at sampleRate, samples in -1…1. Nothing with a message on failure.
    static std::optional<std::vector<float>> render(const SongMelody& melody, const SongGenre& genre,
                                                    double beatSeconds, qsizetype totalSamples,
                                                    const SpeechVoice& voice, QString* error);
};
