#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"
#include "Speech/SpeechPool.h"

#include <memory>

struct ServerContext;

// Speech: short clips (/api/tts/speak, made on the speech pool and answered when ready, kept in
// a bounded cache), whole-document narration as a queued "narration" job
// of audio segments, and the audio files under /media (unguessable signed names, no token, so
// that a media player can fetch them).
class SpeechRoutes {
public:
    static constexpr auto jobType = "narration";
    static constexpr int maxSpeakChars = 5000;
    static constexpr int segmentChars = 600;
    // About four hours of speech: longer texts are refused rather than narrated for hours.
    static constexpr int maxNarrationChars = 200'000;
    // All of one user's audio on disk, clips and narrations together.
    static constexpr qint64 maxAudioBytesPerUser = 512LL * 1024 * 1024;

    explicit SpeechRoutes(ServerContext& context);

    JobQueue::Runner runner();
    // Replaces the pool that makes clips, before any is asked for (tests: other limits, a fake
    // synthesiser).
    void usePool(const SpeechLimits& limits, SpeechPool::Synthesize synthesize);
    SpeechPool& pool() { return *pool_; }
    // Finishes the clips being made and answers the waiting requests; the server then stops.
    void stopPool() { pool_->stop(); }

private:
    friend class Routes; // calls the handlers

    ServerResponse speak(const ServerRequest& request, const QString& userId);
    ServerResponse narrate(const ServerRequest& request, const QString& userId);
    ServerResponse media(const ServerRequest& request);
    // The answer for a read-aloud clip that is on disk.
    ServerResponse clip(const QString& relative, const QString& file, bool cached) const;
    // The refusal when the user's audio has reached maxAudioBytesPerUser, else an empty string.
    // A Premium Week in effect at `askedAtMs` lifts the limit.
    QString audioQuotaError(const QString& userId, qint64 askedAtMs) const;
    JobQueue::Outcome narration(const JobQueue::Job& job);
    // The media path (relative to the media dir) of a clip identified by `parts`, in `directory`.
    QString mediaPath(const QString& directory, const QString& userId, const QString& kind,
                      const QStringList& parts) const;

    ServerContext& context_;
    std::unique_ptr<SpeechPool> pool_;
};
