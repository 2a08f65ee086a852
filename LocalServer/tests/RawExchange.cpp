#include "RawExchange.h"

#include <QEventLoop>
#include <QSslConfiguration>
#include <QTimer>

RawExchange RawExchange::run(quint16 port, const QString& certificatePath, const QList<QByteArray>& writes,
                             const Until& done, int timeoutMs, const QByteArray& clear) {
    RawExchange exchange;
    QSslSocket socket;
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(certificatePath));
    socket.setSslConfiguration(tls);
    QEventLoop loop;
    QObject::connect(&socket, &QSslSocket::encrypted, &loop, [&] {
        for (const QByteArray& bytes : writes)
            socket.write(bytes);
    });
    QObject::connect(&socket, &QSslSocket::readyRead, &loop, [&] {
        exchange.received += socket.readAll();
        if (done(exchange.received, socket))
            loop.quit();
    });
    QObject::connect(&socket, &QSslSocket::disconnected, &loop, [&] {
        exchange.closedByServer = true;
        loop.quit();
    });
    QObject::connect(&socket, &QSslSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            exchange.closedByServer = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (clear.isEmpty()) {
        socket.connectToHostEncrypted("127.0.0.1", port);
    } else {
        QObject::connect(&socket, &QSslSocket::connected, &loop, [&] {
            socket.write(clear);
            socket.startClientEncryption();
        });
        socket.connectToHost("127.0.0.1", port);
    }
    loop.exec();
    exchange.received += socket.readAll();
    return exchange;
}

bool RawExchange::anyAnswer(const QByteArray& received, QSslSocket&) {
    return received.contains("\r\n\r\n");
}
