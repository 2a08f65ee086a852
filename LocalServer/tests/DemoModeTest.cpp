#include "ServerContext.h"
#include "ServerOptions.h"
#include "TestServer.h"

#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTest>
#include <sys/stat.h>

namespace {
QStringList capturedLog;

void captureMessage(QtMsgType, const QMessageLogContext& context, const QString& message) {
    capturedLog.append(QString::fromLatin1(context.category) + ' ' + message);
}

int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Signs up to the prepared verification; answers the sign-up's id.
QString prepareSignUp(TestServer& server, TestServer::Device& device, const QString& email) {
    const auto created = server.form("POST", "/v1/client/sign_ups",
                                     {{"email_address", email}, {"password", "password-1"}}, device);
    device.deviceToken = created.header("Authorization");
    const QString id = created.json().value("response").toObject().value("id").toString();
    server.form("POST", "/v1/client/sign_ups/" + id + "/prepare_verification", {{"strategy", "email_code"}},
                device);
    return id;
}

TestServer::Reply attemptCode(TestServer& server, const TestServer::Device& device, const QString& signUpId,
                              const QString& code) {
    return server.form("POST", "/v1/client/sign_ups/" + signUpId + "/attempt_verification",
                       {{"strategy", "email_code"}, {"code", code}}, device);
}
} // namespace

// What --demo opens (the fixed code, the mailbox, the consent stand-in, controls without a token)
// and what a server without it does instead.
class DemoModeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;

    void startServer(bool demo) {
        server = std::make_unique<TestServer>();
        server->options().demo = demo;
        QVERIFY(server->start());
    }

    QByteArray adminToken() const {
        QFile file(server->server().adminTokenPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }

private slots:
    void cleanup() {
        server.reset();
        qInstallMessageHandler(nullptr);
    }

    void demoIsAFlagOffByDefault() {
        QString error;
        QVERIFY(!ServerOptions::parse({"--port", "0"}, &error)->demo);
        const auto first = ServerOptions::parse({"--demo", "--port", "9000"}, &error);
        QVERIFY(first && first->demo);
        QCOMPARE(first->port, quint16(9000));
        const auto last = ServerOptions::parse({"--port", "9000", "--demo"}, &error);
        QVERIFY(last && last->demo);
        QVERIFY(!ServerOptions::parse({"--demo", "--port"}, &error));
        QVERIFY(ServerOptions::usage().contains("--demo"));
    }

    // Fixed code
    void fixedCodeOnlyForExampleComOnADemoServer_data() {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("demo, example.com") << true << "fixed@example.com" << true;
        QTest::newRow("demo, example.com in capitals") << true << "Fixed@EXAMPLE.com" << true;
        QTest::newRow("demo, other domain") << true << "fixed@example.org" << false;
        QTest::newRow("demo, lookalike domain") << true << "fixed@example.com.au" << false;
        QTest::newRow("demo, lookalike name") << true << "fixed@notexample.com" << false;
        QTest::newRow("no demo, example.com") << false << "fixed@example.com" << false;
    }
    void fixedCodeOnlyForExampleComOnADemoServer() {
        QFETCH(bool, demo);
        QFETCH(QString, email);
        QFETCH(bool, accepted);
        startServer(demo);
        TestServer::Device device;
        const QString id = prepareSignUp(*server, device, email);
        const auto reply = attemptCode(*server, device, id, "424242");
        if (accepted) {
            QCOMPARE(reply.at("response.status").toString(), "complete");
        } else {
            QCOMPARE(reply.status, 422);
            QCOMPARE(reply.errorCode(), "form_code_incorrect");
        }
    }

    void withoutDemoTheCodeGoesToTheLogOnly() {
        startServer(false);
        capturedLog.clear();
        QLoggingCategory::setFilterRules("orbelo.server.mail.info=true");
        qInstallMessageHandler(captureMessage);
        TestServer::Device device;
        const QString id = prepareSignUp(*server, device, "log@example.com");
        qInstallMessageHandler(nullptr);
        QLoggingCategory::setFilterRules("orbelo.server.*.info=false");

        QVERIFY(server->server().context().db.rows("SELECT * FROM mailbox").isEmpty());
        const QStringList lines = capturedLog.filter("orbelo.server.mail");
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().contains("log@example.com"));
        const QString code = QRegularExpression("\\b(\\d{6})\\b").match(lines.first()).captured(1);
        QCOMPARE(code.size(), 6);
        QCOMPARE(attemptCode(*server, device, id, code).at("response.status").toString(), "complete");
    }

    void demoFillsTheMailbox() {
        startServer(true);
        TestServer::Device device;
        prepareSignUp(*server, device, "mail@example.com");
        const QString code = server->lastCodeSentTo("mail@example.com");
        QCOMPARE(code.size(), 6);
        const auto page = server->send("GET", "/mailbox");
        QCOMPARE(page.status, 200);
        QVERIFY(page.body.contains(code.toLatin1()));
    }

    // Pages
    void demoPagesExistOnlyWithDemo_data() {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("demoStatus");
        QTest::newRow("mailbox") << QByteArray("GET") << "/mailbox" << 200;
        QTest::newRow("consent page") << QByteArray("GET") << "/oauth/consent?sign_in=x" << 200;
        QTest::newRow("consent form") << QByteArray("POST") << "/oauth/consent" << 400;
    }
    void demoPagesExistOnlyWithDemo() {
        QFETCH(QByteArray, method);
        QFETCH(QString, path);
        QFETCH(int, demoStatus);
        startServer(true);
        QCOMPARE(server->send(method, path, "sign_in=none&email=a%40b.c").status, demoStatus);
        startServer(false);
        QCOMPARE(server->send(method, path, "sign_in=none&email=a%40b.c").status, 404);
    }

    void oauthNeedsTheConsentStandIn() {
        for (const bool demo : {true, false}) {
            startServer(demo);
            const auto environment = server->send("GET", "/v1/environment");
            QCOMPARE(environment.at("user_settings.social.oauth_google.enabled").toBool(), demo);
            QCOMPARE(environment.at("user_settings.social.oauth_apple.enabled").toBool(), demo);
            TestServer::Device device;
            const auto signIn = server->form(
                "POST", "/v1/client/sign_ins",
                {{"strategy", "oauth_google"}, {"redirect_url", "orbelo://oauth-callback"}}, device);
            if (demo) {
                QVERIFY(signIn.at("response.first_factor_verification.external_verification_redirect_url")
                            .toString()
                            .contains("/oauth/consent"));
            } else {
                QCOMPARE(signIn.status, 422);
                QCOMPARE(signIn.errorCode(), "strategy_for_user_invalid");
            }
        }
    }

    // Controls
    void demoControlsNeedNoToken() {
        startServer(true);
        QCOMPARE(server->send("GET", "/__control/faults").status, 200);
    }

    void controlsWithoutDemoNeedTheAdminToken_data() {
        QTest::addColumn<QByteArray>("authorization");
        QTest::addColumn<int>("status");
        QTest::newRow("none") << QByteArray() << 401;
        QTest::newRow("not a bearer") << QByteArray("Basic YWRtaW46YWRtaW4=") << 401;
        QTest::newRow("bearer without a token") << QByteArray("Bearer ") << 401;
        QTest::newRow("wrong token") << QByteArray("Bearer 0123456789abcdef0123456789abcdef") << 403;
        QTest::newRow("admin token") << QByteArray("Bearer <token>") << 200;
    }
    void controlsWithoutDemoNeedTheAdminToken() {
        QFETCH(QByteArray, authorization);
        QFETCH(int, status);
        startServer(false);
        authorization.replace("<token>", adminToken());
        QList<QPair<QByteArray, QByteArray>> headers;
        if (!authorization.isEmpty())
            headers.append({"Authorization", authorization});
        const auto reply = server->send("GET", "/__control/faults", {}, headers);
        QCOMPARE(reply.status, status);
        if (status == 401)
            QCOMPARE(reply.header("WWW-Authenticate"), QByteArray("Bearer"));
    }

    void adminTokenIsPrivateAndKept() {
        const int previous = ::umask(022);
        startServer(false);
        ::umask(previous);
        const QByteArray token = adminToken();
        QCOMPARE(token.size(), 64);
        QCOMPARE(modeOf(server->server().adminTokenPath()), 0600);
        server->signUp("second@example.net", "password-1");
        const auto enabled = server->send(
            "POST", "/__control/second-factor",
            QJsonDocument(QJsonObject{{"email", "second@example.net"}, {"phone_number", "+15555550100"}})
                .toJson(),
            {{"Authorization", "Bearer " + token}, {"Content-Type", "application/json"}});
        QCOMPARE(enabled.status, 200);
        QCOMPARE(enabled.json().value("backup_codes").toArray().size(), 8);
        // A restart keeps the token.
        server->stop();
        QVERIFY(server->start());
        QCOMPARE(adminToken(), token);
        QCOMPARE(server->send("GET", "/__control/faults", {}, {{"Authorization", "Bearer " + token}}).status,
                 200);
    }
};

QTEST_MAIN(DemoModeTest)
#include "DemoModeTest.moc"
