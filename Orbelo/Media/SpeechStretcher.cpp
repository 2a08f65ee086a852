#include "Media/SpeechStretcher.h"

#include <sonic.h>

#include <new>

SpeechStretcher::SpeechStretcher(int sampleRate, int channels)
    : stream_(sonicCreateStream(sampleRate, channels)), channels_(channels) {
    if (!stream_)
        throw std::bad_alloc();
}

SpeechStretcher::~SpeechStretcher() {
    sonicDestroyStream(stream_);
}

void SpeechStretcher::setSpeed(double speed) {
    sonicSetSpeed(stream_, float(speed));
}

void SpeechStretcher::write(const qint16* samples, qsizetype frames) {
    // Sonic takes a non-const pointer but only reads from it.
    if (!sonicWriteShortToStream(stream_, const_cast<short*>(samples), int(frames)))
        throw std::bad_alloc();
}

void SpeechStretcher::flush() {
    if (!sonicFlushStream(stream_))
        throw std::bad_alloc();
}

void SpeechStretcher::readInto(QList<qint16>& out) {
    const int frames = sonicSamplesAvailable(stream_);
    if (frames <= 0)
        return;
    const qsizetype at = out.size();
    out.resize(at + qsizetype(frames) * channels_);
    const int read = sonicReadShortFromStream(stream_, out.data() + at, frames);
    out.resize(at + qsizetype(read) * channels_);
}
