#pragma once

#include "Auth/ApiAuth.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"
#include "Songs/SongComposer.h"

#include <functional>
#include <optional>

struct ServerContext;

// Study songs: spending a song reward on one of the user's documents queues a "song" job that
// composes the track (the composer, SongComposer::compose unless a test put in its own) into the user's media
// folder; the finished Ogg file is served under /api/media/songs/ with range requests, to its owner only. A
// lyrics reward gets the same lyrics at once, without the music.
class SongRoutes {
public:
    static constexpr auto jobType = "song";
    static constexpr int maxStyleChars = 500;
    static constexpr int songSeconds = 60;
    // The sheet's genres, as sent.
    static const QStringList& genres();

    // Sets a document to music for the "song" job.
    using Composer = std::function<std::optional<SongComposer::Song>(
        const SongComposer::Request&, const QString& directory, const std::function<bool()>& cancelled,
        QString* error)>;

    explicit SongRoutes(ServerContext& context) : context_(context), auth_(context) {}

    JobQueue::Runner runner();
    // While the composer is empty, study songs are refused with 503.
    void setComposer(Composer composer) { composer_ = std::move(composer); }

private:
    friend class Routes; // calls the handlers

    // The caller's own unexpired reward of `type` into `found`; else the refusal (403, 404, 422
    // "<name> <refusal>.", 409).
    std::optional<ServerResponse> usableReward(const QJsonObject& body, const QString& userId,
                                               const QString& type, const QString& refusal,
                                               std::optional<QVariantMap>* found);
    ServerResponse useSongReward(const ServerRequest& request, const QString& userId);
    // Study Lyrics: the song's lyrics written at once from a document, without audio.
    ServerResponse useLyricsReward(const ServerRequest& request, const QString& userId);
    // The document named in `body`, else the best one (of its course_id); the refusal when there is none.
    std::optional<ServerResponse> chooseDocument(const QJsonObject& body, const QString& userId,
                                                 const QString& making, std::optional<QVariantMap>* chosen);
    ServerResponse media(const ServerRequest& request);
    JobQueue::Outcome compose(const JobQueue::Job& job);
    // The user's best processed document to sing: of `courseId` when given, notes before a
    // syllabus, then the longest text.
    std::optional<QVariantMap> bestDocument(const QString& userId, const QString& courseId);

    ServerContext& context_;
    ApiAuth auth_;
    Composer composer_ = &SongComposer::compose;
};
