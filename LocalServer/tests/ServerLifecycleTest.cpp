#include "Http/FaultInjector.h"
#include "SampleDocuments.h"
#include "ServerContext.h"
#include "ServerOptions.h"
#include "Storage/Database.h"
#include "Storage/PrivateFile.h"
#include "TestDatabase.h"
#include "TestServer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

namespace {
QStringList capturedLog;

void captureMessage(QtMsgType, const QMessageLogContext& context, const QString& message) {
    capturedLog.append(QString::fromLatin1(context.category) + ' ' + message);
}
} // namespace

// The server as a process: schema migrations, restarts without data loss, fault injection,
// options, log hygiene and a clean stop on SIGTERM.
class ServerLifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void migrationsUpgradeAnOlderDatabaseKeepingItsRows() {
        QTemporaryDir dir;
        const QString path = TestDatabase::location(dir.path());
        {
            Database old;
            QVERIFY(old.open(path));
            QVERIFY(old.migrate(1));
            QCOMPARE(old.schemaVersion(), 1);
            QVERIFY(old.exec("INSERT INTO users (id, email, email_id, created_at, updated_at)"
                             " VALUES ('user_1', 'kept@example.com', 'idn_1', 1, 1)"));
            QVERIFY(!old.exec("SELECT * FROM documents"));
        }
        Database current;
        QVERIFY(current.open(path));
        QVERIFY(current.migrate());
        QCOMPARE(current.schemaVersion(), Database::latestVersion());
        QCOMPARE(current.row("SELECT email FROM users WHERE id = 'user_1'")->value("email").toString(),
                 "kept@example.com");
        QVERIFY(current.exec("SELECT * FROM documents"));
        QVERIFY(current.migrate()); // nothing left to apply
        QCOMPARE(current.schemaVersion(), Database::latestVersion());
    }

    void restartKeepsAccountsSessionsAndUnfinishedJobs() {
        QTemporaryDir dir;
        TestServer::Device device;
        QString documentId;
        QByteArray certificate;
        {
            TestServer first(dir.path());
            first.setJobDelay(24 * 3600 * 1000); // the job is still queued when the server stops
            QVERIFY(first.start());
            device = first.signUp("restart@example.com", "password-1");
            const QString token = first.sessionToken(device);
            const QJsonObject presigned = first
                                              .api("POST", "/api/v2/uploads/document/initiate", token,
                                                   {{"filename", "notes.txt"}, {"file_size", 30}})
                                              .json();
            first.send("PUT", presigned.value("presigned_url").toString(), "Enzymes speed up reactions.",
                       {{"Content-Type", "text/plain"}});
            documentId = presigned.value("document_id").toString();
            first.api("POST", "/api/v2/uploads/document/complete", token,
                      {{"document_id", documentId},
                       {"s3_key", presigned.value("s3_key")},
                       {"skip_syllabus_extraction", true}});
            QFile file(first.server().certificatePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            certificate = file.readAll();
        }
        TestServer second(dir.path());
        QVERIFY(second.start());
        QFile file(second.server().certificatePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), certificate);
        const auto client = second.send("GET", "/v1/client", {}, {{"Authorization", device.deviceToken}});
        QCOMPARE(client.json().value("response").toObject().value("last_active_session_id").toString(),
                 device.sessionId);
        const QString token = second.sessionToken(device);
        QJsonObject document;
        for (int polls = 0; polls < 10000 && document.value("status") != "ready"; ++polls) {
            document = second.api("GET", "/api/bootstrap", token)
                           .json()
                           .value("documents")
                           .toArray()
                           .at(0)
                           .toObject();
            QTest::qWait(0);
        }
        QCOMPARE(document.value("id").toString(), documentId);
        QCOMPARE(document.value("status").toString(), "ready");
        TestServer::Device other;
        const auto signIn =
            second.form("POST", "/v1/client/sign_ins",
                        {{"identifier", "restart@example.com"}, {"password", "password-1"}}, other);
        QCOMPARE(signIn.json().value("response").toObject().value("status").toString(), "complete");
    }

    void faultsScriptedThroughTheControlEndpoint() {
        TestServer server;
        QVERIFY(server.start());
        const QString token = server.sessionToken(server.signUp("faults@example.com", "password-1"));
        auto addFault = [&](const QJsonObject& fault) {
            return server
                .send("POST", "/__control/faults", QJsonDocument(fault).toJson(),
                      {{"Content-Type", "application/json"}})
                .status;
        };
        QCOMPARE(addFault({{"path", "/api/bootstrap"}, {"status", 503}, {"times", 1}}), 201);
        QCOMPARE(addFault({{"status", 503}}), 400);
        const auto failed = server.api("GET", "/api/bootstrap", token);
        QCOMPARE(failed.status, 503);
        QVERIFY(!failed.header("Date").isEmpty());
        QCOMPARE(server.api("GET", "/api/bootstrap", token).status, 200);

        addFault(
            {{"path", "/v1/*"}, {"method", "GET"}, {"drop", true}}); // until cleared: clients resend once
        QCOMPARE(server.send("POST", "/v1/client/sign_ins", "identifier=x").status,
                 422); // other method passes
        const auto dropped = server.send("GET", "/v1/environment");
        QCOMPARE(dropped.status, 0);
        QVERIFY(dropped.networkError != 0);
        addFault({{"path", "/api/bootstrap"}, {"delay_ms", 5}});
        QCOMPARE(server.send("GET", "/__control/faults").jsonArray().size(), 2);
        QCOMPARE(server.send("DELETE", "/__control/faults").status, 200);
        QCOMPARE(server.send("GET", "/v1/environment").status, 200);
        QCOMPARE(server.api("GET", "/api/bootstrap", token).status, 200);
    }

    void optionsAndTheirFaultForm() {
        QString error;
        const auto options = ServerOptions::parse({"--port", "0", "--data-dir", "/tmp/x", "--latency", "20",
                                                   "--job-delay", "5", "--fault", "/api/*=503", "--fault",
                                                   "/v1/client=drop", "--fault", "/api/jobs=delay:250"},
                                                  &error);
        QVERIFY2(options, qPrintable(error));
        QCOMPARE(options->port, 0);
        QCOMPARE(options->latencyMs, 20);
        QCOMPARE(options->jobDelayMs, 5);
        QCOMPARE(options->faults.size(), 3);
        QCOMPARE(options->faults[0].status, 503);
        QVERIFY(options->faults[1].drop);
        QCOMPARE(options->faults[2].delayMs, 250);
        QVERIFY(!ServerOptions::parse({"--port", "70000"}, &error));
        QVERIFY(!ServerOptions::parse({"--fault", "/api=teapot"}, &error));
        QVERIFY(!ServerOptions::parse({"--latency"}, &error));
        QVERIFY(!ServerOptions::parse({"--verbose", "1"}, &error));
        QVERIFY(!ServerOptions::parse({"--appcast-build", "soon"}, &error));

        FaultInjector faults;
        faults.add(*FaultInjector::fromOption("/api/*=500"));
        QVERIFY(faults.take("GET", "/api/bootstrap"));
        QVERIFY(!faults.take("GET", "/apix"));
    }

    // The appcast announces the app's own build unless told otherwise, so the app shows no banner;
    // a higher build with its version and notes is what the banner shows.
    void appcastAnnouncesTheConfiguredBuild() {
        TestServer plain;
        QVERIFY(plain.start());
        const QJsonObject own = plain.send("GET", "/appcast.json").json();
        QCOMPARE(own.value("latestBuild").toInt(), ServerOptions().appcastBuild);
        QVERIFY(ServerOptions().appcastBuild > 0);
        QCOMPARE(own.value("downloadURL").toString(), plain.url("/download"));
        QVERIFY(!own.contains("releaseNotes"));
        QCOMPARE(plain.send("GET", "/download").status, 200);

        QString error;
        const auto options = ServerOptions::parse(
            {"--appcast-build", "99", "--appcast-version", "2.0", "--appcast-notes", "Faster review."},
            &error);
        QVERIFY2(options, qPrintable(error));
        QCOMPARE(options->appcastBuild, 99);
        plain.server().context().options = *options;
        const QJsonObject announced = plain.send("GET", "/appcast.json").json();
        QCOMPARE(announced.value("latestBuild").toInt(), 99);
        QCOMPARE(announced.value("shortVersion").toString(), "2.0");
        QCOMPARE(announced.value("releaseNotes").toString(), "Faster review.");
    }

    void logsCarryNoSecrets() {
        TestServer server;
        server.options().demo = false;
        QLoggingCategory::setFilterRules("orbelo.server.*=true");
        capturedLog.clear();
        const auto previous = qInstallMessageHandler(captureMessage);
        QVERIFY(server.start());
        const QByteArray adminToken = *PrivateFile::read(server.server().adminTokenPath());
        QCOMPARE(
            server.send("GET", "/__control/faults", {}, {{"Authorization", "Bearer " + adminToken}}).status,
            200);
        const auto device = server.signUp("secret@example.com", "hunter2-password");
        const QString token = server.sessionToken(device);
        const QJsonObject presigned = server
                                          .api("POST", "/api/v2/uploads/document/initiate", token,
                                               {{"filename", "a.txt"}, {"file_size", 1}})
                                          .json();
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules("orbelo.server.*.info=false");
        const QString log = capturedLog.join('\n');
        QVERIFY(log.contains("path=/api/v2/uploads/document/initiate status=200"));
        QVERIFY(log.contains("Your Orbelo verification code is")); // codes go to the log by design
        const QString signature =
            QUrlQuery(QUrl(presigned.value("presigned_url").toString())).queryItemValue("signature");
        for (const QString& secret :
             {QString("hunter2-password"), token, QString::fromLatin1(device.deviceToken), signature,
              QString::fromLatin1(adminToken),
              QString::fromLatin1(server.server().context().secret.toBase64()),
              QString::fromLatin1(server.server().context().secret.toHex())}) {
            QVERIFY(!secret.isEmpty());
            QVERIFY2(!log.contains(secret), qPrintable(secret));
        }
    }

    void executableStopsCleanlyOnSigterm() {
        QTemporaryDir dir;
        QProcess process;
        process.start(ORBELO_LOCAL_SERVER, {"--port", "0", "--data-dir", dir.path()});
        QByteArray output;
        while (!output.contains("certificate:") && process.waitForReadyRead(30000))
            output += process.readAllStandardOutput();
        QVERIFY2(output.contains("listening on https://127.0.0.1:"), output.constData());
        QVERIFY(output.contains(dir.filePath("server-cert.pem").toUtf8()));
        // Without --demo it names the admin token's file, never the token, and has no mailbox.
        QVERIFY2(output.contains(dir.filePath("admin-token").toUtf8()), output.constData());
        QVERIFY(!output.contains(*PrivateFile::read(dir.filePath("admin-token"))));
        QVERIFY(!output.contains("mailbox"));
        process.terminate();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().contains("stopped"));
    }
};

QTEST_MAIN(ServerLifecycleTest)
#include "ServerLifecycleTest.moc"
