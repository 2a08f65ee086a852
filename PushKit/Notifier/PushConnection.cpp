#include "PushConnection.h"

#include "NotifierLogging.h"

#include <QNetworkInformation>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QWebSocket>

namespace {

// QtWebSockets reports a refused upgrade only in its error text ("… status code: 401 …").
int handshakeStatus(const QString& errorText) {
    static const QRegularExpression status(QStringLiteral("status code: (\\d{3})"));
    const QRegularExpressionMatch match = status.match(errorText);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

PushConnection::PushConnection(ReconnectSchedule schedule, QObject* parent)
    : QObject(parent), schedule_(std::move(schedule)) {}

PushConnection::~PushConnection() {
    close();
}

void PushConnection::open(PushEndpoint endpoint, qint64 lastSeq) {
    close();
    endpoint_ = std::move(endpoint);
    lastSeq_ = lastSeq;
    open_ = true;
    schedule_.reset();
    watchNetwork();
    connectNow();
}

void PushConnection::close() {
    open_ = false;
    cancelTimers();
    discardSocket();
}

void PushConnection::networkBack() {
    if (!open_ || !retryTimer_)
        return;
    qCInfo(lcNotifier, "the network is back; reconnecting the push stream");
    cancelTimers();
    schedule_.reset();
    connectNow();
}

void PushConnection::connectNow() {
    discardSocket();
    socketError_.clear();
    socket_ = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    socket_->setMaxAllowedIncomingMessageSize(maxMessageSize);
    socket_->setMaxAllowedIncomingFrameSize(maxMessageSize);
    // Without an extra certificate the system's CAs load on demand (all of them parsed up front
    // cost the agent some 2.7 MiB).
    if (!endpoint_.certificatePem.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(endpoint_.trustedCertificates());
        socket_->setSslConfiguration(tls);
    }
    connect(socket_, &QWebSocket::connected, this, &PushConnection::onConnected);
    connect(socket_, &QWebSocket::disconnected, this, &PushConnection::lost);
    connect(socket_, &QWebSocket::textMessageReceived, this, &PushConnection::onText);
    connect(socket_, &QWebSocket::binaryMessageReceived, this, [this] { dropFrame("a binary frame"); });
    connect(socket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
            &PushConnection::onError);
    QNetworkRequest request(endpoint_.streamUrl(lastSeq_));
    request.setRawHeader("Authorization", "Device " + endpoint_.token.toLatin1());
    socket_->open(request);
}

void PushConnection::onConnected() {
    qCInfo(lcNotifier, "the push stream is open");
    clock_ = &async::Clock::current();
    steadyTimer_ = clock_->schedule(ReconnectSchedule::steadyAfter, [this] {
        steadyTimer_ = 0;
        schedule_.reset();
    });
}

void PushConnection::onText(const QString& text) {
    const std::optional<PushMessage> message = PushMessage::parse(text.toUtf8());
    if (!message)
        return dropFrame("a frame that is not a push message");
    if (message->kind != PushMessage::Kind::notification) {
        qCInfo(lcNotifier, "ignored a push message of another type");
        return;
    }
    if (message->seq <= lastSeq_)
        return; // seen before: resent after a reconnect
    lastSeq_ = message->seq;
    Q_EMIT received(*message);
}

void PushConnection::onError(QAbstractSocket::SocketError) {
    socketError_ = socket_->errorString();
    // A connection that never came up ends here; one that did ends with `disconnected`.
    if (socket_->state() == QAbstractSocket::UnconnectedState)
        lost();
}

void PushConnection::lost() {
    const int closeCode = socket_->closeCode();
    const int status = handshakeStatus(socketError_);
    discardSocket();
    if (status == 401 || closeCode == signedOutCloseCode) {
        qCWarning(lcNotifier, "the server refused this device (%s); push is off until started again",
                  status == 401 ? "HTTP 401" : "signed out");
        close();
        Q_EMIT refused();
        return;
    }
    if (closeCode == QWebSocketProtocol::CloseCodeTooMuchData)
        qCWarning(lcNotifier, "dropped a push message over %lld bytes", maxMessageSize);
    else if (!socketError_.isEmpty())
        qCInfo(lcNotifier, "the push stream failed: %s", qUtf8Printable(socketError_));
    else
        qCInfo(lcNotifier, "the push stream closed (code %d)", closeCode);
    retryLater();
}

void PushConnection::dropFrame(const char* what) {
    qCWarning(lcNotifier, "dropped %s from the push stream; reconnecting", what);
    discardSocket();
    retryLater();
}

void PushConnection::retryLater() {
    cancelTimers();
    const ReconnectSchedule::Duration delay = schedule_.nextDelay();
    qCInfo(lcNotifier, "reconnecting the push stream in %lld ms", qlonglong(delay.count()));
    clock_ = &async::Clock::current();
    retryTimer_ = clock_->schedule(delay, [this] {
        retryTimer_ = 0;
        connectNow();
    });
}

void PushConnection::discardSocket() {
    if (!socket_)
        return;
    // Deleted later: this may run inside one of the socket's own signals.
    QWebSocket* socket = std::exchange(socket_, nullptr);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void PushConnection::cancelTimers() {
    for (async::Clock::TimerId* timer : {&retryTimer_, &steadyTimer_}) {
        if (*timer)
            clock_->cancel(std::exchange(*timer, 0));
    }
}

void PushConnection::watchNetwork() {
    if (!followSystemNetwork_ || watchingNetwork_)
        return;
    watchingNetwork_ = true;
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend()) {
        qCInfo(lcNotifier, "no network reachability backend; the push stream retries on its schedule");
        return;
    }
    connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                if (reachability == QNetworkInformation::Reachability::Online)
                    networkBack();
            });
}
