#pragma once

#include "Clock.h"
#include "PushEndpoint.h"
#include "PushMessage.h"
#include "ReconnectSchedule.h"

#include <QAbstractSocket>
#include <QObject>

class QWebSocket;

// The push stream: one WebSocket to the server, kept open until close(). Hands on each message
// newer than the last one seen, in order. A dropped connection, a frame that is not a push message
// and one over 64 KiB all end in a reconnect after the schedule's wait (at once when the network
// comes back); a refusal (HTTP 401, or close code 4001 when the device's user signs out) stops it.
// Waits run on async::Clock::current().
class PushConnection : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 maxMessageSize = 64 * 1024;
    static constexpr int signedOutCloseCode = 4001;

    explicit PushConnection(ReconnectSchedule schedule = ReconnectSchedule(), QObject* parent = nullptr);
    ~PushConnection() override;

    // Connects, asking for the messages after `lastSeq`; any previous stream is closed first.
    void open(PushEndpoint endpoint, qint64 lastSeq);
    void close();
    bool isOpen() const { return open_; }
    qint64 lastSeq() const { return lastSeq_; }
    // Reconnects at once when QNetworkInformation says the network is back (loaded on the first
    // open; without a reachability backend the schedule alone decides).
    void followSystemNetwork() { followSystemNetwork_ = true; }

public Q_SLOTS:
    // The network is back: a stream waiting to reconnect tries now, with a fresh schedule.
    void networkBack();

Q_SIGNALS:
    void received(const PushMessage& message);
    // The server refused the device: the stream is closed and stays so until opened again.
    void refused();

private:
    void connectNow();
    void onConnected();
    void onText(const QString& text);
    void onError(QAbstractSocket::SocketError error);
    // The connection ended, however: retry later, or stop when the server refused the device.
    void lost();
    void dropFrame(const char* what);
    void retryLater();
    void discardSocket();
    void cancelTimers();
    void watchNetwork();

    ReconnectSchedule schedule_;
    PushEndpoint endpoint_;
    qint64 lastSeq_ = 0;
    bool open_ = false;
    bool followSystemNetwork_ = false;
    bool watchingNetwork_ = false;
    QWebSocket* socket_ = nullptr;
    QString socketError_;
    async::Clock* clock_ = nullptr;
    async::Clock::TimerId retryTimer_ = 0;
    async::Clock::TimerId steadyTimer_ = 0;
};
