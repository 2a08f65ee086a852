#pragma once

#include "Notifications/NotificationStore.h"

#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QString>
#include <functional>
#include <optional>

struct ServerContext;

// The one way in for new notifications: every event that tells a user something posts here. The
// hub stores the notification and then hands its AppNotification record to the listeners of
// that user in this process. On PostgreSQL, where the user's push streams may be held by any
// process of the service, it also announces the user's id on pushChannel, and every process's
// listener of that channel catches the streams up from there. Thread-safe; listeners run on the
// posting thread, outside the hub's lock, and must not block.
class NotificationHub {
public:
    using Listener = std::function<void(const QJsonObject& notification)>;

    // The types this server creates, as NotificationKind raw values.
    static constexpr auto quizResults = "adaptive_quiz";
    static constexpr auto documentReady = "shared_document";
    static constexpr auto studyTask = "study_task";
    // The PostgreSQL channel that carries the id of each user with a new notification.
    static constexpr auto pushChannel = "orbelo_push";

    explicit NotificationHub(ServerContext& context) : context_(context) {}

    // Stores and announces; the record, or nothing when the event was already reported (or the
    // write failed). Not for use inside a transaction: listeners would hear of a row that might
    // yet be rolled back (use record, then announce after the commit).
    std::optional<QJsonObject> post(const QString& userId, const NotificationStore::Draft& draft);
    // Stores inside the caller's transaction without announcing.
    std::optional<QJsonObject> record(const QString& userId, const NotificationStore::Draft& draft);
    void announce(const QString& userId, const QJsonObject& notification);

    // The listener hears every notification of `userId` posted from now until it is removed by
    // the id answered here.
    int addListener(const QString& userId, Listener listener);
    void removeListener(int id);

private:
    struct Entry {
        QString userId;
        Listener listener;
    };

    ServerContext& context_;
    QMutex mutex_;
    QHash<int, Entry> listeners_;
    int nextId_ = 1;
};
