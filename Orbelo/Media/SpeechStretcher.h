#pragma once

#include <QList>

struct sonicStreamStruct;

// Sonic's time-stretch: speech played faster or slower at its own pitch.
class SpeechStretcher {
public:
    SpeechStretcher(int sampleRate, int channels);
    ~SpeechStretcher();
    SpeechStretcher(const SpeechStretcher&) = delete;
    SpeechStretcher& operator=(const SpeechStretcher&) = delete;

    // Applies to the samples written from now on.
    void setSpeed(double speed);
    void write(const qint16* samples, qsizetype frames);
    // Stretches what is still held back, as at the end of a stream.
    void flush();
    // Appends every stretched sample ready so far to `out`.
    void readInto(QList<qint16>& out);

private:
    sonicStreamStruct* stream_;
    int channels_;
};
