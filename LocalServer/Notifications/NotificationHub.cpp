#include "Notifications/NotificationHub.h"

#include "ServerContext.h"

#include <QList>
#include <QMutexLocker>

std::optional<QJsonObject> NotificationHub::post(const QString& userId,
                                                 const NotificationStore::Draft& draft) {
    auto notification = record(userId, draft);
    if (notification)
        announce(userId, *notification);
    return notification;
}

std::optional<QJsonObject> NotificationHub::record(const QString& userId,
                                                   const NotificationStore::Draft& draft) {
    return NotificationStore(context_).insert(userId, draft, context_.nowMs());
}

void NotificationHub::announce(const QString& userId, const QJsonObject& notification) {
    if (context_.db.engine() == Database::Engine::PostgreSQL) {
        // Outside a transaction NOTIFY goes out at once; a failure leaves the streams to catch up
        // when the listeners reconnect or the user's next notification is announced.
        context_.db.exec("SELECT pg_notify(?, ?)", {QString::fromLatin1(pushChannel), userId});
    }
    QList<Listener> listeners;
    {
        QMutexLocker lock(&mutex_);
        for (const Entry& entry : std::as_const(listeners_))
            if (entry.userId == userId)
                listeners.append(entry.listener);
    }
    for (const Listener& listener : std::as_const(listeners))
        listener(notification);
}

int NotificationHub::addListener(const QString& userId, Listener listener) {
    QMutexLocker lock(&mutex_);
    const int id = nextId_++;
    listeners_.insert(id, {userId, std::move(listener)});
    return id;
}

void NotificationHub::removeListener(int id) {
    QMutexLocker lock(&mutex_);
    listeners_.remove(id);
}
