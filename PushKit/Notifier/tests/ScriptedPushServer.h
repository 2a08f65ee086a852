#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslServer>
#include <QUrl>
#include <QWebSocket>
#include <QWebSocketServer>

// A push stream server on 127.0.0.1 over TLS with the test certificate, for wire tests: records
// each upgrade's URL and Authorization header, lets the test send frames and close the stream, and
// answers with HTTP 401 instead of upgrading while refusing().
class ScriptedPushServer : public QObject {
    Q_OBJECT
public:
    explicit ScriptedPushServer(QObject* parent = nullptr);

    // "https://127.0.0.1:<port>"
    QString origin() const;
    static QString certificatePem();

    void setRefusing(bool refusing) { refusing_ = refusing; }

    struct Upgrade {
        QUrl url;
        QByteArray authorization;
    };
    const QList<Upgrade>& upgrades() const { return upgrades_; }
    int refusedCount() const { return refused_; }
    // The stream of the latest upgrade, while it is open.
    QWebSocket* stream() const { return stream_; }

    void sendNotification(qint64 seq, const QString& id, const QString& title, const QString& message);

Q_SIGNALS:
    void upgraded();

private:
    void accept();

    QSslServer tls_;
    QWebSocketServer webSockets_;
    QList<Upgrade> upgrades_;
    QPointer<QWebSocket> stream_;
    bool refusing_ = false;
    int refused_ = 0;
};
