#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariantMap>
#include <optional>

struct ServerContext;

// Study songs made with song rewards. A song is "composing" from its request until its job
// ends, and holds one of its reward's uses meanwhile; the use is spent when the song is ready
// (in the job's final transaction) and given back when it fails.
class SongStore {
public:
    struct Draft {
        QString userId;
        QString userRewardId;
        QString documentId;
        QString title;
        QString courseName;
        QString genre;
        QString style;
    };

    explicit SongStore(ServerContext& context) : context_(context) {}

    // Inside the caller's write transaction, which also queues the song's job: adds a composing
    // song when the reward has a use that neither a ready nor a composing song holds. Its id, or
    // empty when no use is left (or a write failed: `noUsesLeft` tells them apart).
    QString reserve(const Draft& draft, bool* noUsesLeft);
    std::optional<QVariantMap> song(const QString& songId);
    // Inside the job's final transaction: the song is ready and its reward's use spent, once.
    void finish(const QString& songId, const QString& lyrics);
    // Inside the job's final transaction: the song failed and holds no use any more.
    void fail(const QString& songId, const QString& error);
    int composing(const QString& userRewardId);
    // Fails every composing song that no unfinished job of `jobType` composes (left so by a crash
    // of an older version, which queued the job in a transaction of its own): its use comes back.
    void failUnqueued(const QString& jobType, const QString& error);
    // The reward's newest song that is composing or ready, as RewardFulfillmentData: audio_url
    // and lyrics once it is ready; track_number counts the reward's songs from 1.
    std::optional<QJsonObject> fulfilment(const QString& userRewardId);

    // Where the song's Ogg file is kept, under the user's media folder.
    QString audioPath(const QString& userId, const QString& songId) const;
    // The song's address: its id with a signature that only its owner is given.
    QString audioUrl(const QString& userId, const QString& songId) const;
    QString signature(const QString& userId, const QString& songId) const;

private:
    ServerContext& context_;
};
