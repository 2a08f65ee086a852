#include "TestServer.h"

#include <QTest>
#include <QUrlQuery>

// Sign-ups on a server started with --sign-up-requires: what the environment announces, and a
// verified sign-up that waits for its missing fields until an update supplies them.
class SignUpRequirementsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { server.reset(); }

    void environmentAnnouncesRequiredFields_data() {
        QTest::addColumn<QStringList>("required");
        QTest::addColumn<bool>("firstName");
        QTest::addColumn<bool>("lastName");
        QTest::addColumn<bool>("legalConsent");
        QTest::newRow("none") << QStringList() << false << false << false;
        QTest::newRow("first name") << QStringList{"first_name"} << true << false << false;
        QTest::newRow("legal acceptance") << QStringList{"legal_accepted"} << false << false << true;
        QTest::newRow("all") << QStringList{"first_name", "last_name", "legal_accepted"} << true << true
                             << true;
    }

    void environmentAnnouncesRequiredFields() {
        QFETCH(QStringList, required);
        QFETCH(bool, firstName);
        QFETCH(bool, lastName);
        QFETCH(bool, legalConsent);
        start(required);
        const QJsonObject settings =
            server->send("GET", "/v1/environment").json().value("user_settings").toObject();
        const QJsonObject attributes = settings.value("attributes").toObject();
        QCOMPARE(attributes["first_name"]["required"].toBool(), firstName);
        QCOMPARE(attributes["last_name"]["required"].toBool(), lastName);
        QCOMPARE(settings["sign_up"]["legal_consent_enabled"].toBool(), legalConsent);
        QCOMPARE(attributes["email_address"]["required"].toBool(), true);
    }

    void withoutTheOptionNamesStayOptional() {
        start({});
        const auto done = verifiedSignUp({});
        QCOMPARE(done.value("status").toString(), "complete");
        QCOMPARE(done.value("required_fields").toArray(), (QJsonArray{"email_address", "password"}));
        QCOMPARE(done.value("optional_fields").toArray(), (QJsonArray{"first_name", "last_name"}));
        QCOMPARE(done.value("missing_fields").toArray(), QJsonArray());
    }

    void fieldsGivenAtCreationCompleteWithTheCode() {
        start(all);
        const auto done =
            verifiedSignUp({{"first_name", "Ada"}, {"last_name", "Lovelace"}, {"legal_accepted", "true"}});
        QCOMPARE(done.value("status").toString(), "complete");
        QCOMPARE(done.value("required_fields").toArray(),
                 (QJsonArray{"email_address", "password", "first_name", "last_name", "legal_accepted"}));
        QCOMPARE(done.value("optional_fields").toArray(), QJsonArray());
    }

    void verifiedSignUpWaitsForMissingFieldsUntilUpdated() {
        start(all);
        const QJsonObject verified = verifiedSignUp({});
        QCOMPARE(verified.value("status").toString(), "missing_requirements");
        QCOMPARE(verified.value("missing_fields").toArray(),
                 (QJsonArray{"first_name", "last_name", "legal_accepted"}));
        QCOMPARE(verified.value("unverified_fields").toArray(), QJsonArray());
        QVERIFY(verified.value("created_session_id").isNull());
        const QString path = "/v1/client/sign_ups/" + verified.value("id").toString();

        // Blank names and a declined consent leave the fields missing; neither is an error.
        auto partial =
            update(path, {{"first_name", "Ada"}, {"last_name", "   "}, {"legal_accepted", "false"}});
        QCOMPARE(partial.status, 200);
        QJsonObject signUp = partial.json().value("response").toObject();
        QCOMPARE(signUp.value("status").toString(), "missing_requirements");
        QCOMPARE(signUp.value("missing_fields").toArray(), (QJsonArray{"last_name", "legal_accepted"}));
        QCOMPARE(partial.at("client.sign_up.id"), signUp.value("id"));
        QCOMPARE(partial.at("client.sessions").toArray().size(), 0);

        const auto invalid = update(path, {{"legal_accepted", "yes"}});
        QCOMPARE(invalid.status, 422);
        QCOMPARE(invalid.errorCode(), "form_param_format_invalid");

        const auto done = update(path, {{"last_name", "Lovelace"}, {"legal_accepted", "true"}});
        QCOMPARE(done.status, 200);
        signUp = done.json().value("response").toObject();
        QCOMPARE(signUp.value("status").toString(), "complete");
        QCOMPARE(signUp.value("missing_fields").toArray(), QJsonArray());
        QVERIFY(!signUp.value("created_user_id").toString().isEmpty());
        const QJsonObject client = done.json().value("client").toObject();
        QCOMPARE(client.value("last_active_session_id"), signUp.value("created_session_id"));
        QVERIFY(client.value("sign_up").isNull());
        const QJsonObject user = client["sessions"][0]["user"].toObject();
        QCOMPARE(user.value("first_name").toString(), "Ada");
        QCOMPARE(user.value("last_name").toString(), "Lovelace");

        QCOMPARE(update(path, {{"first_name", "Augusta"}}).errorCode(), "sign_up_already_complete");
    }

    void updateBeforeVerificationWaitsForTheCode() {
        start(all);
        const auto created =
            server->form("POST", "/v1/client/sign_ups",
                         {{"email_address", "early@example.com"}, {"password", "password-1"}}, device);
        device.deviceToken = created.header("Authorization");
        const QString path = "/v1/client/sign_ups/" + created.at("response.id").toString();
        const auto updated =
            update(path, {{"first_name", "Ada"}, {"last_name", "Lovelace"}, {"legal_accepted", "true"}});
        const QJsonObject signUp = updated.json().value("response").toObject();
        QCOMPARE(signUp.value("status").toString(), "missing_requirements");
        QCOMPARE(signUp.value("missing_fields").toArray(), QJsonArray());
        QCOMPARE(signUp.value("unverified_fields").toArray(), QJsonArray{"email_address"});
        const auto done = server->form("POST", path + "/attempt_verification",
                                       {{"strategy", "email_code"}, {"code", "424242"}}, device);
        QCOMPARE(done.at("response.status").toString(), "complete");
    }

    void transferSignUpAlsoWaitsForRequiredFields() {
        start({"first_name"});
        const auto created = server->form(
            "POST", "/v1/client/sign_ins",
            {{"strategy", "oauth_google"}, {"redirect_url", "com.orbelo.desktop://callback"}}, device);
        device.deviceToken = created.header("Authorization");
        const QString signInId = created.at("response.id").toString();
        const auto redirect = server->send(
            "POST", "/oauth/consent",
            QUrlQuery{{"sign_in", signInId}, {"provider", "google"}, {"email", "oauth@example.com"}}
                .toString(QUrl::FullyEncoded)
                .toUtf8(),
            {{"Content-Type", "application/x-www-form-urlencoded"}});
        const QString nonce = QUrlQuery(QUrl(QString::fromUtf8(redirect.header("Location"))))
                                  .queryItemValue("rotating_token_nonce");
        server->send("GET", "/v1/client/sign_ins/" + signInId + "?rotating_token_nonce=" + nonce, {},
                     {{"Authorization", device.deviceToken}});

        const auto transferred = server->form("POST", "/v1/client/sign_ups", {{"transfer", "true"}}, device);
        const QJsonObject signUp = transferred.json().value("response").toObject();
        QCOMPARE(signUp.value("status").toString(), "missing_requirements");
        QCOMPARE(signUp.value("missing_fields").toArray(), QJsonArray{"first_name"});
        const auto done = server->form("PATCH", "/v1/client/sign_ups/" + signUp.value("id").toString(),
                                       {{"first_name", "Oda"}}, device);
        QCOMPARE(done.at("response.status").toString(), "complete");
        QCOMPARE(done.at("client.last_authentication_strategy").toString(), "oauth_google");
    }

private:
    void start(const QStringList& required) {
        server = std::make_unique<TestServer>();
        server->options().signUpRequires = required;
        QVERIFY(server->start());
        device = {};
    }

    // Creates a sign-up with `fields` besides email and password and verifies its address.
    QJsonObject verifiedSignUp(const QList<QPair<QString, QString>>& fields) {
        const auto created = server->form(
            "POST", "/v1/client/sign_ups",
            QList<QPair<QString, QString>>{{"email_address", "ada@example.com"}, {"password", "password-1"}} +
                fields,
            device);
        device.deviceToken = created.header("Authorization");
        const QString path = "/v1/client/sign_ups/" + created.at("response.id").toString();
        server->form("POST", path + "/prepare_verification", {{"strategy", "email_code"}}, device);
        return server
            ->form("POST", path + "/attempt_verification", {{"strategy", "email_code"}, {"code", "424242"}},
                   device)
            .json()
            .value("response")
            .toObject();
    }

    TestServer::Reply update(const QString& path, const QList<QPair<QString, QString>>& fields) {
        return server->form("PATCH", path, fields, device);
    }

    const QStringList all{"first_name", "last_name", "legal_accepted"};
    std::unique_ptr<TestServer> server;
    TestServer::Device device;
};

QTEST_MAIN(SignUpRequirementsTest)
#include "SignUpRequirementsTest.moc"
