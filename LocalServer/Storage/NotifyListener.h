#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// What the processes of a service announce on one PostgreSQL channel (NOTIFY), heard on a libpq connection
// of its own in a thread of its own (the connections of Database serve requests and may sit in a
// transaction). Each NOTIFY's payload goes to `onNotify`; `onConnected` runs after every
// (re)connection once the LISTEN is in place, so that whatever was announced while no connection
// listened can be looked up again. A lost connection is retried with a growing pause. Both
// callbacks run on the listener's thread.
class NotifyListener {
public:
    static constexpr std::chrono::milliseconds firstRetry{100};
    static constexpr std::chrono::milliseconds lastRetry{5000};

    // `channel` is an SQL identifier of lower-case letters, digits and underscores.
    NotifyListener(QString databaseUrl, QByteArray channel,
                   std::function<void(const QString& payload)> onNotify, std::function<void()> onConnected);
    ~NotifyListener(); // stops
    NotifyListener(const NotifyListener&) = delete;
    NotifyListener& operator=(const NotifyListener&) = delete;

    void start();
    // Ends the thread promptly, also in the middle of connecting or of a pause between tries.
    void stop();
    // How many times the LISTEN was put in place (1 after the first connection).
    int connections() const { return connections_; }

private:
    enum class Woken { ready, timedOut, stopped };

    void run();
    // Connects and LISTENs; nullptr when stopped or when it failed (logged).
    struct pg_conn* connect();
    // Serves notifications until the connection breaks or stop(); true when stopped.
    bool listen(struct pg_conn* connection);
    // Waits for `fd` (none: -1) to be ready for `events`, for the timeout (-1: none) or for stop().
    Woken wait(int fd, short events, int timeoutMs);

    QString url_;
    QByteArray channel_;
    std::function<void(const QString&)> onNotify_;
    std::function<void()> onConnected_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    QString lastFailure_; // logged once however often it repeats; on the listener's thread
    int wakeFd_ = -1;     // an eventfd that stop() signals
};
