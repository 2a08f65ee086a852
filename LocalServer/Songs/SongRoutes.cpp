#include "Songs/SongRoutes.h"

#include "Http/RangedFile.h"
#include "Jobs/FailPoint.h"
#include "Library/LibraryStore.h"
#include "Rewards/UserRewardStore.h"
#include "ServerContext.h"
#include "Songs/SongComposer.h"
#include "Songs/SongStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString defaultGenre = QStringLiteral("lo-fi");

// What the student typed as key ideas, one per line, semicolon or comma.
QStringList keyIdeas(const QString& style) {
    QStringList ideas;
    for (const QString& idea : style.split(QRegularExpression("[\\n;,]")))
        if (!idea.trimmed().isEmpty())
            ideas.append(idea.trimmed());
    return ideas;
}

} // namespace

const QStringList& SongRoutes::genres() {
    static const QStringList list{"hip-hop", "rock", "lo-fi", "acoustic", "country"};
    return list;
}

JobQueue::Runner SongRoutes::runner() {
    return {{},
            [this](const JobQueue::Job& job) { return compose(job); },
            [this](const JobQueue::Job& job, const QString& error) {
                SongStore(context_).fail(job.input.value("song_id").toString(), error);
            }};
}

std::optional<ServerResponse> SongRoutes::usableReward(const QJsonObject& body, const QString& userId,
                                                       const QString& type, const QString& refusal,
                                                       std::optional<QVariantMap>* found) {
    if (body.value("user_id").toString() != userId)
        return ServerResponse::apiError(403, "You can only use your own rewards.");
    UserRewardStore rewards(context_);
    *found = rewards.reward(body.value("user_reward_id").toString(), userId);
    if (!*found)
        return ServerResponse::apiError(404, "No such reward.");
    const QString name = (*found)->value("reward_name").toString();
    if ((*found)->value("reward_type").toString() != type)
        return ServerResponse::apiError(422, name + " " + refusal + ".");
    if (rewards.expired(**found))
        return ServerResponse::apiError(409, name + " has expired.");
    return std::nullopt;
}

ServerResponse SongRoutes::useSongReward(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    UserRewardStore rewards(context_);
    std::optional<QVariantMap> reward;
    if (auto refused = usableReward(body, userId, UserRewardStore::songType, "doesn't make songs", &reward))
        return *refused;
    const QString name = reward->value("reward_name").toString();
    // Said before anything else is checked; reserving the use below is what guarantees it.
    const QVariant limit = reward->value("usage_limit");
    if (!limit.isNull() && reward->value("usage_count").toInt() >= limit.toInt())
        return ServerResponse::apiError(409, name + " has no uses left.");

    const QString genre =
        body.value("genre").toString().isEmpty() ? defaultGenre : body.value("genre").toString();
    if (!genres().contains(genre))
        return ServerResponse::apiError(422, "genre must be one of " + genres().join(", ") + ".");
    const QString style = body.value("style").toString().trimmed();
    if (style.size() > maxStyleChars)
        return ServerResponse::apiError(
            422, QStringLiteral("Key ideas are limited to %1 characters.").arg(maxStyleChars));

    LibraryStore library(context_);
    const QString courseId = body.value("course_id").toString();
    std::optional<QVariantMap> document;
    if (auto refused = chooseDocument(body, userId, "a song", &document))
        return *refused;
    if (!composer_)
        return ServerResponse::apiError(503, "Study songs can't be made on this server.");

    SongStore::Draft draft;
    draft.userId = userId;
    draft.userRewardId = reward->value("id").toString();
    draft.documentId = document->value("id").toString();
    draft.title = document->value("title").toString().isEmpty() ? document->value("filename").toString()
                                                                : document->value("title").toString();
    const QString songCourse = document->value("course_id").toString().isEmpty()
                                   ? courseId
                                   : document->value("course_id").toString();
    if (const auto course = library.course(songCourse, userId))
        draft.courseName = course->value("name").toString();
    draft.genre = genre;
    draft.style = style;
    // The song holds a use from here on: it and the job that finishes it or gives the use back
    // are written together, so that a crash cannot leave a use held by a song nobody composes.
    bool noUsesLeft = false;
    QString jobId;
    const bool reserved = context_.db.inTransaction([&] {
        noUsesLeft = false;
        const QString songId = SongStore(context_).reserve(draft, &noUsesLeft);
        FailPoint::reach("song-reserved");
        jobId = songId.isEmpty() ? QString()
                                 : context_.jobs->add(userId, jobType, QJsonObject{{"song_id", songId}});
        return !jobId.isEmpty();
    });
    if (!reserved)
        return noUsesLeft ? ServerResponse::apiError(409, name + " has no uses left.")
                          : ServerResponse::apiError(500, "The song could not be started.");
    context_.jobs->schedule(jobId);
    return ServerResponse::json(QJsonObject{{"status", "queued"},
                                            {"job_id", jobId},
                                            {"job_type", jobType},
                                            {"message", "Setting your notes to music."}});
}

std::optional<ServerResponse> SongRoutes::chooseDocument(const QJsonObject& body, const QString& userId,
                                                         const QString& making,
                                                         std::optional<QVariantMap>* chosen) {
    LibraryStore library(context_);
    const QString courseId = body.value("course_id").toString();
    if (!courseId.isEmpty() && !library.course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const QString documentId = body.value("document_id").toString();
    std::optional<QVariantMap>& document = *chosen;
    if (!documentId.isEmpty()) {
        document = library.document(documentId, userId);
        if (!document)
            return ServerResponse::apiError(404, "No such document.");
        if (document->value("status").toString() != "ready" || document->value("text").toString().isEmpty())
            return ServerResponse::apiError(409, "The document has not finished processing.");
    } else if (!(document = bestDocument(userId, courseId))) {
        return ServerResponse::apiError(
            422, courseId.isEmpty() ? "No processed documents to make " + making +
                                          " from. Upload a document in the Library tab first."
                                    : QStringLiteral("No processed documents in this course. Pick a "
                                                     "different course or upload one."));
    }
    return std::nullopt;
}

ServerResponse SongRoutes::useLyricsReward(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    UserRewardStore rewards(context_);
    std::optional<QVariantMap> reward;
    if (auto refused =
            usableReward(body, userId, UserRewardStore::lyricsType, "doesn't write lyrics", &reward))
        return *refused;
    const QString name = reward->value("reward_name").toString();
    const QString style = body.value("style").toString().trimmed();
    if (style.size() > maxStyleChars)
        return ServerResponse::apiError(
            422, QStringLiteral("Key ideas are limited to %1 characters.").arg(maxStyleChars));
    std::optional<QVariantMap> document;
    if (auto refused = chooseDocument(body, userId, "lyrics", &document))
        return *refused;

    SongComposer::Request asked;
    asked.title = document->value("title").toString().isEmpty() ? document->value("filename").toString()
                                                                : document->value("title").toString();
    asked.text = document->value("text").toString();
    asked.keyIdeas = keyIdeas(style);
    asked.genre = defaultGenre;
    asked.targetSeconds = songSeconds;
    QString error;
    const auto written = SongComposer::writeLyrics(asked, &error);
    if (!written)
        return ServerResponse::apiError(422, error);
    const QString documentId = document->value("id").toString();
    const QJsonObject data{{"type", "lyrics"},
                           {"lyrics", written->lyrics.text},
                           {"title", asked.title},
                           {"document_id", documentId}};
    // Written without a job: the use is spent by the one statement that stores the lyrics.
    if (!rewards.spendUse(reward->value("id").toString(), data))
        return ServerResponse::apiError(409, name + " has no uses left.");
    return ServerResponse::json(QJsonObject{{"success", true},
                                            {"user_reward_id", reward->value("id").toString()},
                                            {"document_id", documentId},
                                            {"title", asked.title},
                                            {"lyrics", written->lyrics.text}});
}

std::optional<QVariantMap> SongRoutes::bestDocument(const QString& userId, const QString& courseId) {
    return LibraryStore(context_).songDocument(userId, courseId);
}

JobQueue::Outcome SongRoutes::compose(const JobQueue::Job& job) {
    SongStore songs(context_);
    const QString songId = job.input.value("song_id").toString();
    const auto song = songs.song(songId);
    if (!song || song->value("status").toString() != "composing")
        return JobQueue::Outcome::failure("The song was withdrawn.");
    const auto failed = [this, songId](const QString& error) {
        return JobQueue::Outcome::failure(error,
                                          [this, songId, error] { SongStore(context_).fail(songId, error); });
    };
    const auto document = LibraryStore(context_).document(song->value("document_id").toString(), job.userId);
    if (!document)
        return failed("The document was deleted.");
    if (!composer_)
        return failed("Study songs can't be made on this server.");

    SongComposer::Request request;
    request.title = song->value("title").toString();
    request.text = document->value("text").toString();
    request.keyIdeas = keyIdeas(song->value("style").toString());
    request.genre = song->value("genre").toString();
    request.targetSeconds = songSeconds;
    request.voice = context_.voice;
    // Each attempt composes in a folder of its own, so a half-written file is never served.
    const QString target = songs.audioPath(job.userId, songId);
    QDir work(target.chopped(4) + ".work");
    work.removeRecursively();
    if (!QDir().mkpath(work.path()))
        return failed("The song could not be saved.");
    // An account deleted meanwhile takes the song with it: composing stops.
    const auto cancelled = [this, songId] {
        const auto current = SongStore(context_).song(songId);
        return !current || current->value("status").toString() != "composing";
    };
    QString error;
    const auto made = composer_(request, work.path(), cancelled, &error);
    if (!made || !QFile::exists(made->audioPath)) {
        work.removeRecursively();
        return failed("The song could not be composed: " + (error.isEmpty() ? "no audio was made." : error));
    }
    QFile::remove(target);
    const bool moved = QFile::rename(made->audioPath, target);
    work.removeRecursively();
    if (!moved)
        return failed("The song could not be saved.");
    const QJsonObject result{{"success", true},
                             {"song_id", songId},
                             {"task_id", job.id},
                             {"status", "complete"},
                             {"lyrics", made->lyrics},
                             {"genre", request.genre},
                             {"audio_url", songs.audioUrl(job.userId, songId)}};
    return JobQueue::Outcome::success(
        result, [this, songId, lyrics = made->lyrics] { SongStore(context_).finish(songId, lyrics); });
}

ServerResponse SongRoutes::media(const ServerRequest& request) {
    const QString file = request.param(0);
    const QString songId = file.endsWith(".ogg") ? file.chopped(4) : QString();
    SongStore songs(context_);
    const auto song = songId.isEmpty() ? std::nullopt : songs.song(songId);
    if (!song || song->value("status").toString() != "ready")
        return ServerResponse::apiError(404, "Not Found");
    const QString owner = song->value("user_id").toString();
    // The signature is the owner's alone; a request signed in as someone else is refused too.
    if (request.query.queryItemValue("sig") != songs.signature(owner, songId) ||
        (!request.header("authorization").isEmpty() && auth_.authenticate(request) != owner))
        return ServerResponse::apiError(404, "Not Found");
    QFile audio(songs.audioPath(owner, songId));
    if (!audio.open(QIODevice::ReadOnly))
        return ServerResponse::apiError(404, "Not Found");
    ServerResponse response = rangedFile(audio, request.header("range"), "audio/ogg");
    response.setHeader("Cache-Control", "private, max-age=86400");
    return response;
}
