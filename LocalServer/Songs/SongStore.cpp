#include "Songs/SongStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QDir>

QString SongStore::reserve(const Draft& draft, bool* noUsesLeft) {
    *noUsesLeft = false;
    Database& db = context_.db;
    // Counted inside the write transaction, so two requests for the last use cannot both pass.
    const auto reward = db.row("SELECT usage_limit, usage_count, (SELECT COUNT(*) FROM reward_songs WHERE"
                               " user_reward_id = ? AND status = 'composing') AS held"
                               " FROM user_rewards WHERE id = ?",
                               {draft.userRewardId, draft.userRewardId});
    if (!reward)
        return {};
    const QVariant limit = reward->value("usage_limit");
    if (!limit.isNull() &&
        reward->value("usage_count").toInt() + reward->value("held").toInt() >= limit.toInt()) {
        *noUsesLeft = true;
        return {};
    }
    const QString id = RandomId::make("song");
    const QVariant noStyle(QMetaType(QMetaType::QString));
    if (!db.exec(
            "INSERT INTO reward_songs (id, user_id, user_reward_id, status, document_id, title, course_name,"
            " genre, style, created_at) VALUES (?, ?, ?, 'composing', ?, ?, ?, ?, ?, ?)",
            {id, draft.userId, draft.userRewardId, draft.documentId, draft.title, draft.courseName,
             draft.genre, draft.style.isEmpty() ? noStyle : QVariant(draft.style), context_.nowMs()}))
        return {};
    return id;
}

std::optional<QVariantMap> SongStore::song(const QString& songId) {
    return context_.db.row("SELECT * FROM reward_songs WHERE id = ?", {songId});
}

void SongStore::finish(const QString& songId, const QString& lyrics) {
    // Only a composing song becomes ready, so its use is spent once however often this runs.
    if (context_.db.changed("UPDATE reward_songs SET status = 'ready', lyrics = ?, finished_at = ?"
                            " WHERE id = ? AND status = 'composing'",
                            {lyrics, context_.nowMs(), songId}) == 1)
        context_.db.exec("UPDATE user_rewards SET usage_count = usage_count + 1"
                         " WHERE id = (SELECT user_reward_id FROM reward_songs WHERE id = ?)",
                         {songId});
}

void SongStore::fail(const QString& songId, const QString& error) {
    context_.db.exec("UPDATE reward_songs SET status = 'failed', error = ?, finished_at = ?"
                     " WHERE id = ? AND status = 'composing'",
                     {error, context_.nowMs(), songId});
}

void SongStore::failUnqueued(const QString& jobType, const QString& error) {
    context_.db.exec(
        "UPDATE reward_songs SET status = 'failed', error = ?, finished_at = ? WHERE status = 'composing'"
        " AND NOT EXISTS (SELECT 1 FROM jobs WHERE job_type = ? AND status IN ('queued', 'processing')"
        " AND subject_id = reward_songs.id)",
        {error, context_.nowMs(), jobType});
}

int SongStore::composing(const QString& userRewardId) {
    const auto row = context_.db.row(
        "SELECT COUNT(*) AS n FROM reward_songs WHERE user_reward_id = ? AND status = 'composing'",
        {userRewardId});
    return row ? row->value("n").toInt() : 0;
}

std::optional<QJsonObject> SongStore::fulfilment(const QString& userRewardId) {
    const auto latest = context_.db.row(
        "SELECT *, (SELECT COUNT(*) FROM reward_songs AS earlier WHERE earlier.user_reward_id ="
        " reward_songs.user_reward_id AND earlier.status IN ('composing', 'ready') AND (earlier.created_at <"
        " reward_songs.created_at OR (earlier.created_at = reward_songs.created_at AND earlier.id <="
        " reward_songs.id))) AS track FROM reward_songs WHERE user_reward_id = ? AND status IN"
        " ('composing', 'ready') ORDER BY created_at DESC, id DESC LIMIT 1",
        {userRewardId});
    if (!latest)
        return std::nullopt;
    const QString id = latest->value("id").toString();
    QJsonObject data{{"song_id", id},
                     {"type", "song"},
                     {"genre", latest->value("genre").toString()},
                     {"title", latest->value("title").toString()},
                     {"document_id", latest->value("document_id").toString()},
                     {"track_number", latest->value("track").toInt()}};
    if (!latest->value("style").isNull())
        data.insert("style", latest->value("style").toString());
    if (!latest->value("course_name").toString().isEmpty())
        data.insert("course_name", latest->value("course_name").toString());
    if (latest->value("status").toString() == "ready") {
        data.insert("audio_url", audioUrl(latest->value("user_id").toString(), id));
        data.insert("lyrics", latest->value("lyrics").toString());
    }
    return data;
}

QString SongStore::audioPath(const QString& userId, const QString& songId) const {
    return QDir(context_.mediaDir()).filePath(userId + "/songs/" + songId + ".ogg");
}

QString SongStore::audioUrl(const QString& userId, const QString& songId) const {
    return context_.baseUrl + "/api/media/songs/" + songId + ".ogg?sig=" + signature(userId, songId);
}

QString SongStore::signature(const QString& userId, const QString& songId) const {
    return context_.sign(("song|" + userId + '|' + songId).toUtf8()).left(40);
}
