#pragma once

#include <QByteArray>
#include <optional>

// The format and length of a RIFF/WAVE PCM file.
struct WavInfo {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 dataBytes = 0;
    qint64 dataOffset = 0; // where the samples start in the file

    qint64 durationMs() const;
    // Nothing when the bytes are not a PCM WAVE file with a data chunk.
    static std::optional<WavInfo> read(const QByteArray& bytes);
};
