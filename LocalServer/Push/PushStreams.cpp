#include "Push/PushStreams.h"

#include "Notifications/NotificationHub.h"
#include "Notifications/NotificationStore.h"
#include "Push/PushSession.h"
#include "ServerContext.h"
#include "Storage/SecretHash.h"

#include <QJsonDocument>
#include <QList>
#include <QMutexLocker>

namespace {

PushSession::Message messageOf(qint64 seq, const QJsonObject& notification) {
    const QByteArray text =
        QJsonDocument(QJsonObject{{"type", "notification"}, {"seq", seq}, {"notification", notification}})
            .toJson(QJsonDocument::Compact);
    return std::make_shared<const std::string>(text.constData(), std::size_t(text.size()));
}

} // namespace

PushStreams::~PushStreams() {
    QMutexLocker lock(&mutex_);
    for (const int listener : std::as_const(listeners_))
        context_.notifications->removeListener(listener);
}

void PushStreams::open(std::shared_ptr<WebSocketConnection> connection, const DeviceStore::Device& device,
                       qint64 afterSeq) {
    std::shared_ptr<PushSession> session;
    bool overCap = false;
    {
        QMutexLocker lock(&mutex_);
        // Checked by the route already; streams opened since may have filled the cap.
        overCap = othersOf(device.userId, device.deviceToken) >= maxStreamsPerUser;
        const quint64 id = nextId_++;
        session = std::make_shared<PushSession>(
            std::move(connection), [this, id] { forget(id); }, afterSeq);
        streams_.insert(id, {session, device.deviceToken, device.userId, device.registeredAtMs});
        // On PostgreSQL the channel listener catches streams up, for this process's notifications too.
        if (context_.db.engine() == Database::Engine::SQLite && !listeners_.contains(device.userId)) {
            // The hub calls listeners outside its own lock, so taking this one there is safe.
            listeners_.insert(
                device.userId,
                context_.notifications->addListener(
                    device.userId, [this, userId = device.userId](const QJsonObject&) { catchUp(userId); }));
        }
    }
    session->start();
    if (overCap)
        return session->close(1013, "too many streams");
    closeWhere(
        [&](const Stream& stream) {
            return stream.deviceToken == device.deviceToken && stream.session.lock() != session;
        },
        replacedCode, "replaced");
    // The device may have been signed out between its request and the handshake; it is listed
    // by now, so a later sign-out finds it.
    const auto current = DeviceStore(context_).find(device.deviceToken, context_.nowMs());
    if (!current || current->userId != device.userId)
        return session->close(signedOutCode, "signed out");
    QList<PushSession::Sequenced> owed;
    for (const NotificationStore::Sequenced& notification :
         NotificationStore(context_).newerThan(device.userId, afterSeq, current->registeredAtMs, maxReplay))
        owed.append({notification.seq, messageOf(notification.seq, notification.record)});
    session->replay(std::move(owed));
}

void PushStreams::catchUp(const QString& userId) {
    catchUpWhere([&userId](const Stream& stream) { return stream.userId == userId; },
                 int(PushSession::maxQueued));
}

void PushStreams::catchUpAll() {
    catchUpWhere([](const Stream&) { return true; }, int(PushSession::maxQueued));
}

void PushStreams::catchUpWhere(const std::function<bool(const Stream&)>& matches, int limit) {
    QList<std::pair<std::shared_ptr<PushSession>, Stream>> owing;
    {
        QMutexLocker lock(&mutex_);
        for (const Stream& stream : std::as_const(streams_))
            if (matches(stream))
                if (auto session = stream.session.lock())
                    owing.append({std::move(session), stream});
    }
    // Outside the lock: the reads may wait on the database.
    for (const auto& [session, stream] : std::as_const(owing))
        for (const NotificationStore::Sequenced& notification : NotificationStore(context_).newerThan(
                 stream.userId, session->sentUpTo(), stream.registeredAtMs, limit))
            session->deliver(notification.seq, messageOf(notification.seq, notification.record));
}

void PushStreams::forget(quint64 id) {
    std::optional<int> listener;
    {
        QMutexLocker lock(&mutex_);
        const QString userId = streams_.take(id).userId;
        bool userHasMore = false;
        for (const Stream& stream : std::as_const(streams_))
            userHasMore = userHasMore || stream.userId == userId;
        if (!userHasMore && listeners_.contains(userId))
            listener = listeners_.take(userId);
    }
    if (listener)
        context_.notifications->removeListener(*listener);
}

bool PushStreams::hasRoomFor(const QString& userId, const QString& deviceToken) const {
    QMutexLocker lock(&mutex_);
    return othersOf(userId, deviceToken) < maxStreamsPerUser;
}

int PushStreams::othersOf(const QString& userId, const QString& deviceToken) const {
    int count = 0;
    for (const Stream& stream : streams_)
        count += stream.userId == userId && stream.deviceToken != deviceToken ? 1 : 0;
    return count;
}

void PushStreams::closeWhere(const std::function<bool(const Stream&)>& matches, std::uint16_t code,
                             const char* reason) {
    QList<std::shared_ptr<PushSession>> sessions;
    {
        QMutexLocker lock(&mutex_);
        for (const Stream& stream : std::as_const(streams_))
            if (matches(stream))
                if (auto session = stream.session.lock())
                    sessions.append(std::move(session));
    }
    for (const auto& session : std::as_const(sessions))
        session->close(code, reason);
}

void PushStreams::closeDevices(const QStringList& tokenHashes) {
    closeWhere([&tokenHashes](
                   const Stream& stream) { return tokenHashes.contains(SecretHash::of(stream.deviceToken)); },
               signedOutCode, "signed out");
}

void PushStreams::closeDevice(const QString& deviceToken, const QString& ownerId) {
    closeWhere(
        [&](const Stream& stream) { return stream.deviceToken == deviceToken && stream.userId != ownerId; },
        signedOutCode, "signed out");
}

void PushStreams::closeUser(const QString& userId) {
    closeWhere([&userId](const Stream& stream) { return stream.userId == userId; }, signedOutCode,
               "signed out");
}

void PushStreams::closeAll() {
    closeWhere([](const Stream&) { return true; }, 1001, "going away");
}

int PushStreams::openCount() const {
    QMutexLocker lock(&mutex_);
    return int(streams_.size());
}
