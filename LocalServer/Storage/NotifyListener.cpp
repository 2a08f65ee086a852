#include "Storage/NotifyListener.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <libpq-fe.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcNotifyListener, "orbelo.server.listen")

namespace {

constexpr int connectTimeoutMs = 5000;

// libpq's messages end in a newline and may span lines; they name the host and user, never the
// password.
QString errorOf(PGconn* connection) {
    return QString::fromUtf8(PQerrorMessage(connection)).simplified();
}

} // namespace

NotifyListener::NotifyListener(QString databaseUrl, QByteArray channel,
                               std::function<void(const QString& payload)> onNotify,
                               std::function<void()> onConnected)
    : url_(std::move(databaseUrl)), channel_(std::move(channel)), onNotify_(std::move(onNotify)),
      onConnected_(std::move(onConnected)), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

NotifyListener::~NotifyListener() {
    stop();
    if (wakeFd_ >= 0)
        close(wakeFd_);
}

void NotifyListener::start() {
    thread_ = std::thread([this] { run(); });
}

void NotifyListener::stop() {
    stopping_ = true;
    const std::uint64_t one = 1;
    // The eventfd stays readable from here on, so every later wait ends at once as well.
    [[maybe_unused]] const auto written = write(wakeFd_, &one, sizeof one);
    if (thread_.joinable())
        thread_.join();
}

void NotifyListener::run() {
    std::chrono::milliseconds pause = firstRetry;
    while (!stopping_) {
        if (PGconn* connection = connect()) {
            pause = firstRetry;
            const bool stopped = listen(connection);
            PQfinish(connection);
            if (stopped)
                return;
        }
        if (wait(-1, 0, int(pause.count())) == Woken::stopped)
            return;
        pause = std::min(pause * 2, lastRetry);
    }
}

PGconn* NotifyListener::connect() {
    const QByteArray url = url_.toUtf8();
    // The URL is expanded by libpq; the settings after it add to it. Keepalives notice a peer
    // that vanished without closing (a machine or a network gone).
    const char* keys[] = {"dbname",           "keepalives_idle",  "keepalives_interval",
                          "keepalives_count", "application_name", nullptr};
    const char* values[] = {url.constData(), "10", "5", "3", "orbelo-listen", nullptr};
    PGconn* connection = PQconnectStartParams(keys, values, 1);
    if (!connection)
        return nullptr;
    // The server's messages outside a query ("terminating connection …") go to the log, not stderr.
    PQsetNoticeProcessor(
        connection,
        [](void*, const char* message) {
            qCInfo(lcNotifyListener).noquote() << "database:" << QString::fromUtf8(message).simplified();
        },
        nullptr);
    auto fail = [&](const QString& why) -> PGconn* {
        if (why != lastFailure_) {
            qCWarning(lcNotifyListener).noquote() << "cannot listen on the database:" << why;
            lastFailure_ = why;
        }
        PQfinish(connection);
        return nullptr;
    };
    // In the non-blocking form the caller keeps the time limit.
    PostgresPollingStatusType state =
        PQstatus(connection) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK) {
        if (state == PGRES_POLLING_FAILED)
            return fail(errorOf(connection));
        switch (
            wait(PQsocket(connection), state == PGRES_POLLING_READING ? POLLIN : POLLOUT, connectTimeoutMs)) {
        case Woken::stopped:
            PQfinish(connection);
            return nullptr;
        case Woken::timedOut:
            return fail("no answer within 5 s");
        case Woken::ready:
            state = PQconnectPoll(connection);
        }
    }
    PGresult* result = PQexec(connection, ("LISTEN " + channel_).constData());
    const bool listening = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!listening)
        return fail(errorOf(connection));
    lastFailure_.clear();
    if (++connections_ == 1)
        qCInfo(lcNotifyListener).noquote() << "listening on" << channel_;
    else
        qCInfo(lcNotifyListener).noquote() << "listening on" << channel_ << "again after a lost connection";
    onConnected_();
    return connection;
}

bool NotifyListener::listen(PGconn* connection) {
    for (;;) {
        if (wait(PQsocket(connection), POLLIN, -1) == Woken::stopped)
            return true;
        const bool read = PQconsumeInput(connection) == 1;
        while (PGnotify* notification = PQnotifies(connection)) {
            const QString payload = QString::fromUtf8(notification->extra);
            PQfreemem(notification);
            onNotify_(payload);
        }
        if (!read || PQstatus(connection) != CONNECTION_OK) {
            qCWarning(lcNotifyListener).noquote() << "lost the listening connection:" << errorOf(connection);
            return false;
        }
    }
}

NotifyListener::Woken NotifyListener::wait(int fd, short events, int timeoutMs) {
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {fd, events, 0}};
    int ready = 0;
    do
        ready = poll(fds, fd >= 0 ? 2 : 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (stopping_)
        return Woken::stopped;
    // An error or hang-up on the socket counts as ready: libpq's next call reports it.
    return ready == 0 ? Woken::timedOut : Woken::ready;
}
