#pragma once

#include "LocalServer.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <memory>

// Starts orbelo-local-server in this process on a free loopback port with a data dir of its own
// and no job delay, and talks to it over HTTPS, trusting exactly its certificate.
class TestServer {
public:
    struct Reply {
        int status = 0;
        QByteArray body;
        QList<QNetworkReply::RawHeaderPair> headers;
        int networkError = 0;

        QJsonObject json() const;
        QJsonArray jsonArray() const;
        QByteArray header(const QByteArray& name) const;
        // The first error code of an auth-service error envelope.
        QString errorCode() const;
    };

    // A device of the auth service: its device token and, once signed in, its session.
    struct Device {
        QByteArray deviceToken;
        QString sessionId;
        QString userId;
    };

    // `dataDir` empty: a fresh temporary directory.
    explicit TestServer(const QString& dataDir = {});
    ~TestServer();

    bool start();
    void stop();
    LocalServer& server() { return *server_; }
    QString dataDir() const { return dataDir_; }
    QString url(const QString& path) const;
    // Takes effect at the next start().
    void setJobDelay(int ms) { jobDelayMs_ = ms; }
    // Moves the server's clock forward.
    void advanceClock(qint64 ms) { offsetMs_ += ms; }

    Reply send(const QByteArray& method, const QString& pathOrUrl, const QByteArray& body = {},
               const QList<QPair<QByteArray, QByteArray>>& headers = {});
    Reply form(const QByteArray& method, const QString& path, const QList<QPair<QString, QString>>& fields,
               const Device& device);
    Reply api(const QByteArray& method, const QString& path, const QString& token,
              const QJsonObject& body = {});

    // Signs up with the fixed test code and returns the signed-in device.
    Device signUp(const QString& email, const QString& password);
    QString sessionToken(const Device& device);
    // Processes events until the job reaches a final status; returns its record.
    QJsonObject waitForJob(const QString& jobId, const QString& token);

private:
    QString dataDir_;
    std::unique_ptr<QTemporaryDir> temporary_;
    std::unique_ptr<LocalServer> server_;
    QNetworkAccessManager network_;
    qint64 offsetMs_ = 0;
    int jobDelayMs_ = 0;
};
