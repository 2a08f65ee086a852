#pragma once

#include <QByteArray>
#include <QList>

// 16-bit PCM read from a RIFF/WAVE file. The narration segments are the speech engines' plain WAV
// files (festival's, flite's or espeak-ng's), so a parser of our own reads them synchronously and
// testably; QAudioDecoder would run a GStreamer pipeline per segment and answer through signals.
struct WavAudio {
    int sampleRate = 0;
    int channels = 0;
    QList<qint16> samples; // interleaved, channels per frame

    qsizetype frames() const { return channels > 0 ? samples.size() / channels : 0; }

    // Throws std::runtime_error saying what is wrong with anything but well-formed 16-bit PCM.
    static WavAudio parse(const QByteArray& bytes);
};
