#include "ScriptedPushServer.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QSslKey>
#include <QWebSocket>

namespace {

QByteArray readData(const char* name) {
    QFile file(QStringLiteral(TEST_SUPPORT_DATA_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

ScriptedPushServer::ScriptedPushServer(QObject* parent)
    : QObject(parent), webSockets_(QStringLiteral("push"), QWebSocketServer::NonSecureMode) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(readData("test-cert.pem")));
    tls.setPrivateKey(QSslKey(readData("test-key.pem"), QSsl::Rsa));
    tls_.setSslConfiguration(tls);
    connect(&tls_, &QTcpServer::pendingConnectionAvailable, this, &ScriptedPushServer::accept);
    connect(&webSockets_, &QWebSocketServer::newConnection, this, [this] {
        while (QWebSocket* socket = webSockets_.nextPendingConnection()) {
            connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
            upgrades_.append({socket->requestUrl(), socket->request().rawHeader("Authorization")});
            stream_ = socket;
            Q_EMIT upgraded();
        }
    });
    tls_.listen(QHostAddress::LocalHost);
}

QString ScriptedPushServer::origin() const {
    return QStringLiteral("https://127.0.0.1:%1").arg(tls_.serverPort());
}

QString ScriptedPushServer::certificatePem() {
    return QString::fromLatin1(readData("test-cert.pem"));
}

void ScriptedPushServer::accept() {
    while (QTcpSocket* socket = tls_.nextPendingConnection()) {
        if (!refusing_) {
            webSockets_.handleConnection(socket);
            continue;
        }
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            ++refused_;
            socket->write(
                "HTTP/1.1 401 Unauthorized\r\nContent-Type: application/json\r\n"
                "Content-Length: 29\r\nConnection: close\r\n\r\n{\"detail\": \"unknown device\"}\n");
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void ScriptedPushServer::sendNotification(qint64 seq, const QString& id, const QString& title,
                                          const QString& message) {
    const QJsonObject record{
        {"id", id}, {"type", "system"}, {"title", title}, {"message", message}, {"isRead", false}};
    const QJsonObject frame{{"type", "notification"}, {"seq", seq}, {"notification", record}};
    stream_->sendTextMessage(QString::fromUtf8(QJsonDocument(frame).toJson(QJsonDocument::Compact)));
}
