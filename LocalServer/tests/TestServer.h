#pragma once

#include "LocalServer.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <optional>

// Starts orbelo-local-server in this process on a free loopback port with a data dir of its own
// (and, under ORBELO_TEST_DATABASE, a PostgreSQL database of its own: TestDatabase) and no job
// delay, and talks to it over HTTPS, trusting exactly its certificate. It runs with
// --demo (fixed code, mailbox, consent page, open controls) unless options().demo is cleared.
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
        // A value inside the JSON body by a dotted path of keys and array indexes:
        // at("client.sessions.0.id").
        QJsonValue at(const QString& path) const;
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
    // Makes every TLS connection of the process trust the server's certificate.
    void trustCertificate() const;
    // The auth client key whose Frontend API is this server.
    QString publishableKey() const;
    // Takes effect at the next start().
    void setJobDelay(int ms) { jobDelayMs_ = ms; }
    // Options for the next start(); the port, data dir and job delay stay the test server's own.
    ServerOptions& options() { return options_; }
    // Moves the server's clock forward.
    void advanceClock(qint64 ms) { offsetMs_ += ms; }
    // Stops the server's clock on a whole second: from then on only advanceClock() moves it, so
    // that a test can stand exactly on a time limit.
    void freezeClock() { frozenAtMs_ = QDateTime::currentMSecsSinceEpoch() / 1000 * 1000; }
    // Stops the server's clock at `moment` (dates that depend on the day, such as study plans).
    void setTime(const QDateTime& moment) {
        frozenAtMs_ = moment.toMSecsSinceEpoch();
        offsetMs_ = 0;
    }

    // `pathOrUrl` may be a whole https:// address, also of another server on the same data dir.
    Reply send(const QByteArray& method, const QString& pathOrUrl, const QByteArray& body = {},
               const QList<QPair<QByteArray, QByteArray>>& headers = {});
    Reply form(const QByteArray& method, const QString& path, const QList<QPair<QString, QString>>& fields,
               const Device& device);
    Reply api(const QByteArray& method, const QString& path, const QString& token,
              const QJsonObject& body = {});

    // The six-digit code of the latest message to `recipient` in the mailbox; empty if none.
    QString lastCodeSentTo(const QString& recipient);
    // Signs up (with the fixed code on a demo server, else with the code sent) and returns the
    // signed-in device.
    Device signUp(const QString& email, const QString& password);
    // Issued by this server, or by the server at `serverUrl` (another process on this data dir).
    QString sessionToken(const Device& device, const QString& serverUrl = {});
    // Creates a course with only its title, as onboarding's class step does; answers its id.
    QString addCourse(const QString& token, const QString& title);
    // Uploads a file as the app does: initiate, PUT to the presigned URL, complete. Without a course
    // the upload is checked as a syllabus. Answers the document id, or empty when a step failed.
    QString uploadDocument(const QString& token, const QByteArray& bytes, const QString& filename,
                           const QString& contentType, const QString& courseId = {});
    // A true/false quiz issued to the device's user through the controls, handed out long enough
    // ago to be finished at once: its "quiz_id" and "answers" with the first `right` of them right.
    QJsonObject issueQuiz(const Device& device, int questions, int right, const QString& difficulty,
                          const QString& courseId = {});
    // A medium four-question quiz issued to the device's user and completed with three right as
    // attempt `attemptId`: one quiz result, and one notification of it.
    Reply completeQuiz(const Device& device, const QString& token, const QString& attemptId);
    // Processes events until the job reaches a final status; returns its record.
    QJsonObject waitForJob(const QString& jobId, const QString& token);
    // Waits for an uploaded document's processing job (its status's "task_id"); returns its record.
    QJsonObject waitForProcessing(const QString& documentId, const QString& token);

private:
    QString dataDir_;
    std::unique_ptr<QTemporaryDir> temporary_;
    std::unique_ptr<LocalServer> server_;
    QNetworkAccessManager network_;
    ServerOptions options_;
    // Read by the server's worker threads. 0: not frozen.
    std::atomic<qint64> frozenAtMs_{0};
    std::atomic<qint64> offsetMs_{0};
    int jobDelayMs_ = 0;
};
