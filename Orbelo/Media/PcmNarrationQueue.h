#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Clock.h"
#include "Media/NarrationPcmStream.h"
#include "Media/NarrationQueue.h"
#include "TaskScope.h"

#include <QAudioSink>

#include <chrono>
#include <memory>
#include <optional>

// Plays the segments through one audio sink that never stops between them: segments are fetched
// through the app's own network stack (so with its TLS trust) a few ahead of the one being read,
// decoded, and stretched into a single PCM stream. Segment ends and progress follow the frames the
// sink reports as played.
class PcmNarrationQueue final : public NarrationQueue {
    Q_OBJECT
public:
    // How often playback is followed for segment ends.
    static constexpr std::chrono::milliseconds followInterval{20};
    // The sink's buffer, also the most that is already stretched when the speed changes. At 200 ms
    // a loaded machine left the sink without sound for 120-200 ms at a time (bench_NarrationGap);
    // a second rides out such stalls.
    static constexpr std::chrono::milliseconds sinkBuffer{1000};
    // Segments held decoded beyond the one being read, so that a slow fetch is not heard.
    static constexpr int segmentsAhead = 2;

    explicit PcmNarrationQueue(QObject* parent = nullptr);
    ~PcmNarrationQueue() override;

    void start(const QList<QUrl>& segments, int first, double rate) override;
    void pause() override;
    void resume() override;
    void setRate(double rate) override;
    void clear() override;
    double itemProgress() const override { return stream_.progress(); }

    // The segment to fetch next for a stream of `count` segments: the first one missing from the
    // one being read to segmentsAhead beyond it; nothing when all of those are there.
    static std::optional<int> toFetch(const NarrationPcmStream& stream, int count);

private:
    static async::Task<WavAudio> fetch(QUrl url);
    void fetchAhead();
    void arrived(int index, WavAudio audio);
    void startSink();
    void followSink(QAudio::State state);
    void follow();
    void fail(const QString& reason);

    QList<QUrl> segments_;
    NarrationPcmStream stream_;
    std::unique_ptr<QAudioSink> sink_;
    bool paused_ = false;
    quint64 generation_ = 0; // changes with every start and clear
    async::Clock::TimerId followTimer_ = 0;
    async::TaskScope::TaskId fetch_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
