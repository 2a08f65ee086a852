#include "Media/PcmNarrationQueue.h"

#include "Media/AudioDownload.h"

#include <QAudioFormat>

#include <algorithm>
#include <stdexcept>

PcmNarrationQueue::PcmNarrationQueue(QObject* parent) : NarrationQueue(parent) {
    connect(&stream_, &NarrationPcmStream::segmentStarted, this, [this](int) { fetchAhead(); });
}

PcmNarrationQueue::~PcmNarrationQueue() {
    clear();
}

void PcmNarrationQueue::start(const QList<QUrl>& segments, int first, double rate) {
    clear();
    segments_ = segments;
    paused_ = false;
    stream_.reset(first, int(segments.size()), rate);
    // Unbuffered: read-ahead would hold back a speed change.
    stream_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    fetchAhead();
}

void PcmNarrationQueue::pause() {
    paused_ = true;
    if (sink_)
        sink_->suspend();
}

void PcmNarrationQueue::resume() {
    paused_ = false;
    if (sink_)
        sink_->resume();
}

void PcmNarrationQueue::setRate(double rate) {
    stream_.setSpeed(rate);
}

void PcmNarrationQueue::clear() {
    ++generation_;
    if (fetch_)
        tasks_.cancel(fetch_);
    fetch_ = 0;
    if (followTimer_)
        async::Clock::current().cancel(followTimer_);
    followTimer_ = 0;
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        sink_.reset();
    }
    stream_.close();
    stream_.reset(0, 0, 1.0);
    segments_.clear();
}

async::Task<WavAudio> PcmNarrationQueue::fetch(QUrl url) {
    co_return WavAudio::parse(co_await AudioDownload::fetch(std::move(url)));
}

std::optional<int> PcmNarrationQueue::toFetch(const NarrationPcmStream& stream, int count) {
    const int last = std::min(count - 1, stream.reading() + segmentsAhead);
    for (int index = stream.reading(); index <= last; ++index) {
        if (!stream.has(index))
            return index;
    }
    return std::nullopt;
}

void PcmNarrationQueue::fetchAhead() {
    const auto index = toFetch(stream_, int(segments_.size()));
    if (fetch_ || !index)
        return;
    fetch_ = tasks_.spawn(
        fetch(segments_[*index]),
        [this, index = *index](WavAudio audio) {
            fetch_ = 0;
            arrived(index, std::move(audio));
        },
        [this](std::exception_ptr error) {
            fetch_ = 0;
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                fail(QString::fromUtf8(e.what()));
            }
        });
}

void PcmNarrationQueue::arrived(int index, WavAudio audio) {
    try {
        stream_.add(index, std::move(audio));
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        return;
    }
    if (!sink_)
        startSink();
    fetchAhead();
}

void PcmNarrationQueue::startSink() {
    QAudioFormat format;
    format.setSampleRate(stream_.sampleRate());
    format.setChannelCount(stream_.channels());
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = std::make_unique<QAudioSink>(format);
    sink_->setBufferSize(format.bytesForDuration(std::chrono::microseconds(sinkBuffer).count()));
    connect(sink_.get(), &QAudioSink::stateChanged, this, &PcmNarrationQueue::followSink);
    sink_->start(&stream_);
    // PulseAudio drops the first buffer's worth that a new stream is given (the buffer as the
    // server granted it, known once started, before the first read): let that be silence.
    stream_.leadIn(sink_->bufferSize() / format.bytesPerFrame());
    if (paused_)
        sink_->suspend();
    follow();
}

void PcmNarrationQueue::followSink(QAudio::State state) {
    if (sink_ && state == QAudio::StoppedState && sink_->error() != QAudio::NoError)
        fail(QStringLiteral("the audio output failed (error %1)").arg(int(sink_->error())));
}

void PcmNarrationQueue::follow() {
    followTimer_ = 0;
    const qint64 played = sink_->processedUSecs() * stream_.sampleRate() / 1'000'000;
    const quint64 generation = generation_;
    for (const int index : stream_.playedTo(played)) {
        Q_EMIT itemEnded(index);
        if (generation != generation_)
            return; // a receiver started over
        if (index == segments_.size() - 1) {
            // The sink reports frames as played before the server has sent them out: stopping now
            // would cut off the end.
            followTimer_ = async::Clock::current().schedule(sinkBuffer, [this] {
                followTimer_ = 0;
                sink_->stop();
            });
            return;
        }
    }
    followTimer_ = async::Clock::current().schedule(followInterval, [this] { follow(); });
}

// Deferred: a failure can be found inside the sink's read or a task's handler, where neither may end.
void PcmNarrationQueue::fail(const QString& reason) {
    QMetaObject::invokeMethod(
        this,
        [this, reason, generation = generation_] {
            if (generation != generation_)
                return;
            clear();
            Q_EMIT failed(reason);
        },
        Qt::QueuedConnection);
}
