#include "SingleInstance.h"

#include "Clock.h"

#include <QDir>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>

#include <chrono>

#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcInstance, "com.orbelo.desktop.Instance")

// A hand-over is one line: "open <url>", "link <percent-encoded deep link>" or "activate"; the
// running instance answers "ok".
const QByteArray openCommand = "open ";
const QByteArray linkCommand = "link ";
const QByteArray activateCommand = "activate";
const QByteArray acknowledgement = "ok\n";
constexpr std::chrono::milliseconds answerTimeout{3000};

} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketName(const QString& appId) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(appId + QStringLiteral(".instance"));
    return QStringLiteral("%1-%2.instance").arg(appId).arg(::getuid());
}

SingleInstance::Role SingleInstance::claim(const QUrl& url) {
    return claimWith(url.isEmpty() ? activateCommand : openCommand + url.toEncoded());
}

SingleInstance::Role SingleInstance::claimForDeepLink(const QString& deepLink) {
    return claimWith(deepLink.isEmpty() ? activateCommand : linkCommand + QUrl::toPercentEncoding(deepLink));
}

SingleInstance::Role SingleInstance::claimWith(const QByteArray& command) {
    if (handOver(command))
        return Role::handedOver;
    if (!listen()) {
        // Nobody answered, so whatever holds the name is left over from a crash.
        QLocalServer::removeServer(name_);
        if (!listen())
            qCWarning(lcInstance, "cannot listen for other instances: %s",
                      qUtf8Printable(server_->errorString()));
    }
    return Role::primary;
}

bool SingleInstance::isListening() const {
    return server_ && server_->isListening();
}

bool SingleInstance::handOver(const QByteArray& command) {
    QLocalSocket socket;
    QEventLoop loop;
    bool answered = false;
    QByteArray reply;
    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(command + '\n'); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        reply += socket.readAll();
        if (reply.contains('\n')) {
            answered = reply == acknowledgement;
            loop.quit();
        }
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] { loop.quit(); });
    connect(&socket, &QLocalSocket::disconnected, &loop, [&] { loop.quit(); });
    async::Clock& clock = async::Clock::current();
    const async::Clock::TimerId timeout = clock.schedule(answerTimeout, [&loop] { loop.quit(); });
    socket.connectToServer(name_);
    if (socket.state() != QLocalSocket::UnconnectedState)
        loop.exec();
    clock.cancel(timeout);
    return answered;
}

bool SingleInstance::listen() {
    if (!server_) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    }
    return server_->listen(name_);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        read(socket);
    }
}

void SingleInstance::read(QLocalSocket* socket) {
    if (!socket->canReadLine())
        return;
    const QByteArray line = socket->readLine().trimmed();
    socket->write(acknowledgement);
    socket->disconnectFromServer();
    if (line == activateCommand)
        Q_EMIT activationRequested();
    else if (line.startsWith(openCommand))
        Q_EMIT urlReceived(QUrl::fromEncoded(line.mid(openCommand.size())));
    else if (line.startsWith(linkCommand))
        Q_EMIT deepLinkReceived(QUrl::fromPercentEncoding(line.mid(linkCommand.size())));
}
