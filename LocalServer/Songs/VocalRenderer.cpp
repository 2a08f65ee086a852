#include "Songs/VocalRenderer.h"

#include "Songs/EspeakWords.h"
#include "Songs/FestivalWords.h"
#include "Songs/FliteWords.h"
#include "Songs/SongGenre.h"
#include "Songs/SongMelody.h"
#include "Songs/VoicePitch.h"
#include "Speech/SpeechText.h"
#include "Speech/SpeechVoice.h"

#include <QHash>
#include <QRegularExpression>
#include <sonic.h>

#include <algorithm>
#include <cmath>

namespace {

// A note's word as said, at its engine's rate, and how far Sonic is to move its pitch.
struct Take {
    std::vector<float> samples;
    int sampleRate = VocalRenderer::sampleRate;
    double pitch = 1;
};

// The word without the quiet the engines leave before and after it.
void trimSilence(std::vector<float>& samples) {
    constexpr float floor = 0.01f;
    const auto loud = [](float s) { return std::abs(s) > floor; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    samples = first < last ? std::vector<float>(first, last) : std::vector<float>();
}

// The take `speed` times as fast, moved to its pitch and brought to the vocal's rate (Sonic's rate
// resamples in the same pass).
std::vector<float> stretch(Take& take, float speed) {
    sonicStream stream = sonicCreateStream(take.sampleRate, 1);
    sonicSetSpeed(stream, speed);
    sonicSetPitch(stream, float(take.pitch));
    sonicSetRate(stream, float(take.sampleRate) / VocalRenderer::sampleRate);
    sonicWriteFloatToStream(stream, take.samples.data(), int(take.samples.size()));
    sonicFlushStream(stream);
    std::vector<float> out(size_t(sonicSamplesAvailable(stream)));
    out.resize(size_t(sonicReadFloatFromStream(stream, out.data(), int(out.size()))));
    sonicDestroyStream(stream);
    return out;
}

std::optional<std::vector<Take>> espeakTakes(const SongMelody& melody, const SongGenre& genre,
                                             QString* error) {
    auto said = EspeakWords::sing(melody, genre.sung, VocalRenderer::sampleRate, error);
    if (!said)
        return std::nullopt;
    std::vector<Take> takes;
    for (std::vector<float>& word : *said) {
        trimSilence(word);
        takes.push_back({std::move(word), VocalRenderer::sampleRate, 1.0});
    }
    return takes;
}

// What festival and flite are given of a lyric word: its ASCII letters, digits, apostrophes and
// hyphens.
QString sayable(const QString& word) {
    static const QRegularExpression unsaid(QStringLiteral("[^A-Za-z0-9'-]"));
    return SpeechText::ascii(word).remove(unsaid);
}

std::optional<std::vector<Take>> voicedTakes(const SongMelody& melody, const SpeechVoice& voice,
                                             QString* error) {
    QStringList words;
    QHash<QString, qsizetype> indexOf;
    for (const SongMelody::Note& note : melody.notes) {
        const QString word = sayable(note.word);
        if (!word.isEmpty() && !indexOf.contains(word)) {
            indexOf.insert(word, words.size());
            words.append(word);
        }
    }
    auto said = voice.engine == SpeechVoice::Engine::festival ? FestivalWords::say(words, voice.name, error)
                                                              : FliteWords::say(words, error);
    if (!said)
        return std::nullopt;
    std::vector<std::optional<double>> pitches;
    std::vector<double> voiced;
    for (std::vector<float>& word : said->words) {
        trimSilence(word);
        pitches.push_back(VoicePitch::median(word, said->sampleRate));
        if (pitches.back())
            voiced.push_back(*pitches.back());
    }
    // The voice's own pitch, for words with no voiced sound of their own, and the octave of the
    // base pitch nearest it, for the song's register.
    double voiceHz = VocalRenderer::basePitchHz;
    if (!voiced.empty()) {
        std::nth_element(voiced.begin(), voiced.begin() + std::ssize(voiced) / 2, voiced.end());
        voiceHz = voiced[size_t(std::ssize(voiced) / 2)];
    }
    const double octaves = std::round(std::log2(voiceHz / VocalRenderer::basePitchHz));
    std::vector<Take> takes;
    for (const SongMelody::Note& note : melody.notes) {
        const auto found = indexOf.constFind(sayable(note.word));
        if (found == indexOf.constEnd()) {
            takes.emplace_back();
            continue;
        }
        const auto index = size_t(*found);
        const double noteHz = VocalRenderer::basePitchHz * std::exp2(octaves + note.semitone / 12.0);
        takes.push_back({said->words[index], said->sampleRate,
                         std::clamp(noteHz / pitches[index].value_or(voiceHz), 0.25, 4.0)});
    }
    return takes;
}

} // namespace

std::optional<std::vector<float>> VocalRenderer::render(const SongMelody& melody, const SongGenre& genre,
                                                        double beatSeconds, qsizetype totalSamples,
                                                        const SpeechVoice& voice, QString* error) {
    const auto takes = voice.engine == SpeechVoice::Engine::espeak ? espeakTakes(melody, genre, error)
                                                                   : voicedTakes(melody, voice, error);
    if (!takes)
        return std::nullopt;
    std::vector<float> vocal(size_t(totalSamples), 0.0f);
    for (qsizetype n = 0; n < melody.notes.size(); ++n) {
        const SongMelody::Note& note = melody.notes[n];
        Take take = (*takes)[size_t(n)];
        if (take.samples.empty())
            continue;
        // A sung word fills most of its note; a spoken one is only hurried when it would overrun.
        const double room = note.beats * beatSeconds * sampleRate * (genre.sung ? 0.92 : 0.98);
        double speed = double(take.samples.size()) * sampleRate / take.sampleRate / room;
        if (!genre.sung)
            speed = std::max(speed, 1.0);
        if (speed != 1.0 || take.pitch != 1.0 || take.sampleRate != sampleRate)
            take.samples = stretch(take, float(std::clamp(speed, 0.5, 3.0)));
        const std::vector<float>& word = take.samples;
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
