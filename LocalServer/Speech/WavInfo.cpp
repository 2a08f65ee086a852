#include "Speech/WavInfo.h"

#include <QtEndian>

qint64 WavInfo::durationMs() const {
    const qint64 bytesPerSecond = qint64(sampleRate) * channels * (bitsPerSample / 8);
    return bytesPerSecond > 0 ? dataBytes * 1000 / bytesPerSecond : 0;
}

std::optional<WavInfo> WavInfo::read(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    WavInfo info;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            if (qFromLittleEndian<quint16>(bytes.constData() + body) != 1) // PCM only
                return std::nullopt;
            info.channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            info.sampleRate = int(qFromLittleEndian<quint32>(bytes.constData() + body + 4));
            info.bitsPerSample = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            // Streaming writers leave a placeholder size; what follows is the data.
            info.dataBytes = qMin<qint64>(size, bytes.size() - body);
            info.dataOffset = body;
            return info;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}
