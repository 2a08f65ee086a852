#include "Speech/SpeechPool.h"

#include "ServerContext.h"

#include <numeric>

SpeechPool::SpeechPool(ServerContext& context, const SpeechLimits& limits, Synthesize synthesize)
    : context_(context), limits_(limits), synthesize_(std::move(synthesize)) {
    for (int i = 0; i < limits_.threads; ++i)
        threads_.emplace_back([this] { serve(); });
}

SpeechPool::~SpeechPool() {
    stop();
}

bool SpeechPool::submit(const QString& text, const SpeechVoice& voice, const QString& path, Done done) {
    const std::lock_guard lock(mutex_);
    if (stopping_)
        return false;
    if (const auto joined = inHand_.find(path); joined != inHand_.end()) {
        joined->append(std::move(done));
        return true;
    }
    if (inHand_.size() >= limits_.threads + limits_.maxQueued)
        return false;
    inHand_.insert(path, {std::move(done)});
    queue_.push_back({text, voice, path});
    wake_.notify_one();
    return true;
}

int SpeechPool::retryAfterSeconds() const {
    const std::lock_guard lock(mutex_);
    const qint64 meanMs =
        durationsMs_.isEmpty()
            ? limits_.expectedSynthesisMs
            : std::accumulate(durationsMs_.begin(), durationsMs_.end(), qint64(0)) / durationsMs_.size();
    const qint64 waitMs = meanMs * inHand_.size() / std::max(1, limits_.threads);
    return int(std::max<qint64>(1, (waitMs + 999) / 1000));
}

void SpeechPool::stop() {
    QList<Done> dropped;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const Work& work : queue_)
            dropped += inHand_.take(work.path);
        queue_.clear();
    }
    wake_.notify_all();
    for (const Done& done : dropped)
        done(QStringLiteral("the server is stopping"));
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
}

void SpeechPool::serve() {
    for (;;) {
        Work work;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        const qint64 started = context_.nowMs();
        QString error;
        if (!synthesize_(work.text, work.voice, work.path, &error) && error.isEmpty())
            error = QStringLiteral("no audio was made");
        QList<Done> waiting;
        {
            const std::lock_guard lock(mutex_);
            durationsMs_.append(context_.nowMs() - started);
            if (durationsMs_.size() > timedSyntheses)
                durationsMs_.removeFirst();
            waiting = inHand_.take(work.path);
        }
        for (const Done& done : waiting)
            done(error);
    }
}
