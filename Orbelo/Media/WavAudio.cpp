#include "Media/WavAudio.h"

#include <QtEndian>

#include <stdexcept>
#include <string>

namespace {

constexpr quint16 formatPCM = 1;
constexpr quint16 formatExtensible = 0xFFFE;

[[noreturn]] void reject(const std::string& what) {
    throw std::runtime_error("malformed WAV audio: " + what);
}

quint16 u16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}

} // namespace

WavAudio WavAudio::parse(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        reject("no RIFF/WAVE header");
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    WavAudio audio;
    int blockAlign = 0;
    for (qsizetype at = 12; at + 8 <= size;) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype length = u32(data + at + 4);
        const qsizetype body = at + 8;
        if (length > size - body)
            reject("chunk \"" + id.toStdString() + "\" runs past the end of the file");
        if (id == "fmt ") {
            if (length < 16)
                reject("format chunk too short");
            quint16 format = u16(data + body);
            if (format == formatExtensible && length >= 26)
                format = u16(data + body + 24); // the sub-format GUID starts with the format tag
            audio.channels = u16(data + body + 2);
            audio.sampleRate = int(u32(data + body + 4));
            blockAlign = u16(data + body + 12);
            const int bits = u16(data + body + 14);
            if (format != formatPCM || bits != 16)
                reject("encoding " + std::to_string(format) + " with " + std::to_string(bits) +
                       " bits; only 16-bit PCM plays");
            if (audio.channels < 1 || audio.channels > 8 || audio.sampleRate < 8000 ||
                audio.sampleRate > 192000 || blockAlign != 2 * audio.channels)
                reject("impossible format (" + std::to_string(audio.channels) + " channels at " +
                       std::to_string(audio.sampleRate) + " Hz)");
        } else if (id == "data") {
            if (blockAlign == 0)
                reject("data before the format chunk");
            if (length % blockAlign != 0)
                reject("data is not a whole number of frames");
            audio.samples.resize(length / 2);
            for (qsizetype i = 0; i < audio.samples.size(); ++i)
                audio.samples[i] = qint16(u16(data + body + 2 * i));
            return audio;
        }
        at = body + length + (length & 1); // chunks are padded to an even length
    }
    reject(blockAlign == 0 ? "no format chunk" : "no data chunk");
}
