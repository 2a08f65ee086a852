#pragma once

#include "Notifications/DeviceStore.h"

#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class PushSession;
struct ServerContext;
struct WebSocketConnection;

// The open push streams, by device and user. Each stream is sent its user's notifications as
// {"type": "notification", "seq": …, "notification": AppNotification}, read from the database
// above the last seq it was sent whenever the user has news: on SQLite the NotificationHub tells
// (a user with streams has one listener there), on PostgreSQL the PushListener of every process
// hears it from the database. Reading what is owed rather than passing the announced record
// along makes a late or repeated announcement harmless: a stream gets each notification once,
// in seq order. A stream ends with 4001
// "signed out" once its device no longer belongs to its user. A device holds one stream (a new one
// ends the older with 4002 "replaced") and a user at most maxStreamsPerUser. Thread-safe.
class PushStreams {
public:
    static constexpr int maxReplay = 50;
    static constexpr std::uint16_t signedOutCode = 4001;
    static constexpr std::uint16_t replacedCode = 4002;
    static constexpr int maxStreamsPerUser = 8;

    explicit PushStreams(ServerContext& context) : context_(context) {}
    ~PushStreams();
    PushStreams(const PushStreams&) = delete;
    PushStreams& operator=(const PushStreams&) = delete;

    // Serves an upgraded connection as the stream of `device`: first the newest notifications
    // (up to maxReplay) above `afterSeq` made since the device's registration, oldest first; then
    // every new one. Runs on the connection's strand.
    void open(std::shared_ptr<WebSocketConnection> connection, const DeviceStore::Device& device,
              qint64 afterSeq);
    // Sends the user's streams in this process what they are owed.
    void catchUp(const QString& userId);
    // Sends every stream in this process what it is owed (after news may have been missed).
    void catchUpAll();
    // Whether `userId` may open one more stream from `deviceToken` (which gives up its own).
    bool hasRoomFor(const QString& userId, const QString& deviceToken) const;
    // Ends the streams of the devices whose tokens have these hashes (DeviceStore keeps no more).
    void closeDevices(const QStringList& tokenHashes);
    // Ends the streams of the device held by any user but `ownerId` (the device changed hands).
    void closeDevice(const QString& deviceToken, const QString& ownerId);
    void closeUser(const QString& userId);
    // Ends every stream with 1001 "going away": the server stops, the client reconnects elsewhere.
    void closeAll();
    int openCount() const;

private:
    struct Stream {
        std::weak_ptr<PushSession> session;
        QString deviceToken;
        QString userId;
        qint64 registeredAtMs = 0; // of the device: nothing from before is sent
    };

    // Sends the streams matching `matches` what they are owed, up to `limit` each.
    void catchUpWhere(const std::function<bool(const Stream&)>& matches, int limit);
    void forget(quint64 id);
    void closeWhere(const std::function<bool(const Stream&)>& matches, std::uint16_t code,
                    const char* reason);
    // The user's streams from devices other than `deviceToken`. Called under mutex_.
    int othersOf(const QString& userId, const QString& deviceToken) const;

    ServerContext& context_;
    mutable QMutex mutex_;
    QHash<quint64, Stream> streams_;
    QHash<QString, int> listeners_; // user → NotificationHub listener
    quint64 nextId_ = 1;
};
