#pragma once

#include "Media/SpeechStretcher.h"
#include "Media/WavAudio.h"

#include <QIODevice>
#include <QMap>

#include <deque>
#include <memory>

// A narration's segments as one continuous stream of 16-bit PCM that an audio sink pulls from,
// stretched to the speed of the moment. Segments are stretched only as the sink asks for them,
// so a speed change reaches the very next read; while a segment has not arrived the stream gives
// silence, so the sink never runs dry and frame counts stay in step with what is heard.
class NarrationPcmStream final : public QIODevice {
    Q_OBJECT
public:
    explicit NarrationPcmStream(QObject* parent = nullptr);

    // Starts over: segments `first` to `count` - 1 will be read, at `speed`.
    void reset(int first, int count, double speed);
    // Hands over the audio of segment `index`. Throws std::runtime_error when its format differs
    // from the segments' before it.
    void add(int index, WavAudio audio);
    bool has(int index) const { return segments_.contains(index); }
    // The segment being read, or to be read next.
    int reading() const { return next_; }
    void setSpeed(double speed);
    // Silence to give before anything else, once the format is known.
    void leadIn(qint64 frames);
    // The format of the first segment handed over; 0 before that.
    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }

    // Follows playback to `played` frames from the start of the stream: answers the segments
    // that ended by then, in order.
    QList<int> playedTo(qint64 played);
    // How far into its segment the frame given to the last playedTo is, 0 to 1.
    double progress() const { return progress_; }
    // Every segment has been read to its end.
    bool atEnd() const override { return next_ >= count_; }
    bool isSequential() const override { return true; }

Q_SIGNALS:
    // Reading of segment `index` has begun.
    void segmentStarted(int index);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Where a stretch of output ends, in frames since the start, and how far into its segment.
    struct Mark {
        qint64 endFrame;
        int index;
        double progress;
    };

    bool stretchMore();

    QMap<int, WavAudio> segments_;
    std::unique_ptr<SpeechStretcher> stretcher_;
    int sampleRate_ = 0;
    int channels_ = 0;
    double speed_ = 1.0;
    int count_ = 0;
    int next_ = 0;             // the segment being read
    qsizetype readFrames_ = 0; // of segment next_
    QList<qint16> stretched_;  // ready for the sink
    qint64 producedFrames_ = 0;
    qint64 leadInFrames_ = 0;
    std::deque<Mark> marks_;
    double progress_ = 0;
};
