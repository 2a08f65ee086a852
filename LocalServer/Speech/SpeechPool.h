#pragma once

#include "Speech/SpeechLimits.h"
#include "Speech/SpeechVoice.h"

#include <QHash>
#include <QList>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct ServerContext;

// Speech made on request, off the request threads: a few threads, each running one synthesiser at
// a time, behind a bounded queue. Requests for a file already being made wait for that one
// synthesis instead of queuing another.
class SpeechPool {
public:
    // Writes `text` spoken by `voice` to the WAV file `path` (SpeechSynthesizer::synthesize).
    using Synthesize = std::function<bool(const QString& text, const SpeechVoice& voice, const QString& path,
                                          QString* error)>;
    // Called on a pool thread once the file is made: empty, or why it was not.
    using Done = std::function<void(const QString& error)>;

    // Durations are timed on the context's clock.
    SpeechPool(ServerContext& context, const SpeechLimits& limits, Synthesize synthesize);
    ~SpeechPool();

    // Queues the making of `path`; false, without calling `done`, when threads + maxQueued
    // syntheses are already in hand.
    bool submit(const QString& text, const SpeechVoice& voice, const QString& path, Done done);
    // Whole seconds, at least 1, after which the syntheses in hand are likely done: their number
    // times the mean of the last few syntheses' durations, over the threads.
    int retryAfterSeconds() const;
    // Finishes the running syntheses; the waiting ones are told that the server is stopping.
    void stop();
    const SpeechLimits& limits() const { return limits_; }

private:
    struct Work {
        QString text;
        SpeechVoice voice;
        QString path;
    };
    static constexpr int timedSyntheses = 8;

    void serve();

    ServerContext& context_;
    const SpeechLimits limits_;
    const Synthesize synthesize_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Work> queue_;
    QHash<QString, QList<Done>> inHand_; // by path: queued or running
    QList<qint64> durationsMs_;          // the last timedSyntheses, oldest first
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
