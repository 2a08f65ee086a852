#include "Auth/PasswordHash.h"
#include "Auth/PasswordPolicy.h"
#include "Auth/SignInAttempt.h"
#include "Auth/TokenSigner.h"
#include "Auth/VerificationCode.h"
#include "ServerContext.h"
#include "ServerOptions.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

constexpr qint64 now = 1'800'000'000; // seconds
const QString issuer = QStringLiteral("https://127.0.0.1:8443");

QString errorCode(const std::optional<ServerResponse>& response) {
    if (!response)
        return {};
    return QJsonDocument::fromJson(response->body)["errors"][0]["code"].toString();
}

QString encode(const QByteArray& bytes) {
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

} // namespace

// The server's own credential checks, each at its exact limits: session tokens, verification
// codes and their resend cool-down, stored passwords and the rules for new ones; and sign-ins as
// they are stored.
class AuthChecksTest : public QObject {
    Q_OBJECT

private slots:
    void sessionTokens_data() {
        QTest::addColumn<QString>("jwt");
        QTest::addColumn<qint64>("at");
        QTest::addColumn<int>("failure");

        const TokenSigner signer("server secret", issuer);
        const QString token = signer.issue("sess_1", "user_1", now, 60);
        const QStringList parts = token.split('.');
        const auto row = [](const char* name, const QString& jwt, qint64 at, TokenSigner::Failure failure) {
            QTest::newRow(name) << jwt << at << int(failure);
        };
        using F = TokenSigner::Failure;
        row("valid when issued", token, now, F::None);
        // Other processes' clocks may be a few seconds off: exp and nbf give that much room.
        constexpr int skew = TokenSigner::clockSkewSeconds;
        row("valid in the last second of the skew past exp", token, now + 60 + skew - 1, F::None);
        row("expired once the skew past exp is over", token, now + 60 + skew, F::Expired);
        row("valid within the skew before nbf", token, now - skew, F::None);
        row("not yet valid a second before the skew", token, now - skew - 1, F::NotYetValid);
        row("without exp", signer.sign({{"sid", "s"}, {"iss", issuer}, {"nbf", now}}), now, F::Expired);
        row("another issuer", TokenSigner("server secret", "https://elsewhere").issue("s", "u", now, 60), now,
            F::WrongIssuer);
        row("signed with another secret", TokenSigner("other secret", issuer).issue("s", "u", now, 60), now,
            F::BadSignature);
        row("signature cut short", token.chopped(2), now, F::BadSignature);
        row("payload of another token",
            parts[0] + '.' + signer.issue("sess_2", "user_1", now, 60).split('.')[1] + '.' + parts[2], now,
            F::BadSignature);
        row("empty", QString(), now, F::Malformed);
        row("two parts", parts[0] + '.' + parts[1], now, F::Malformed);
        row("four parts", token + ".x", now, F::Malformed);
        row("payload not Base64URL", parts[0] + ".e30*." + parts[2], now, F::Malformed);
        row("alg none", encode(R"({"alg":"none"})") + '.' + parts[1] + '.' + parts[2], now, F::Malformed);
    }

    void sessionTokens() {
        QFETCH(QString, jwt);
        QFETCH(qint64, at);
        QFETCH(int, failure);
        const TokenSigner signer("server secret", issuer);
        QCOMPARE(int(signer.verify(jwt, at).failure), failure);
    }

    void verificationCodes_data() {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<int>("attemptsBefore");
        QTest::addColumn<qint64>("expiresInMs");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<int>("attemptsAfter");

        const QString mail = "ada@orbelo.test";
        QTest::newRow("right code") << "123456"
                                    << "123456" << mail << 0 << 1000LL << ""
                                    << "verified" << 1;
        QTest::newRow("wrong code") << "123456"
                                    << "123457" << mail << 0 << 1000LL << "form_code_incorrect"
                                    << "unverified" << 1;
        QTest::newRow("code cut short") << "123456"
                                        << "12345" << mail << 0 << 1000LL << "form_code_incorrect"
                                        << "unverified" << 1;
        QTest::newRow("no code") << "123456"
                                 << "" << mail << 0 << 1000LL << "form_param_missing"
                                 << "unverified" << 0;
        QTest::newRow("a millisecond before expiry") << "123456"
                                                     << "123456" << mail << 0 << 1LL << ""
                                                     << "verified" << 1;
        QTest::newRow("expired exactly at expire_at")
            << "123456"
            << "123456" << mail << 0 << 0LL << "verification_expired"
            << "expired" << 0;
        QTest::newRow("fifth attempt right") << "123456"
                                             << "123456" << mail << 4 << 1000LL << ""
                                             << "verified" << 5;
        QTest::newRow("fifth attempt wrong") << "123456"
                                             << "000000" << mail << 4 << 1000LL << "form_code_incorrect"
                                             << "unverified" << 5;
        QTest::newRow("sixth attempt refused even when right")
            << "123456"
            << "123456" << mail << 5 << 1000LL << "verification_failed"
            << "failed" << 5;
        QTest::newRow("fixed code at example.com") << "123456"
                                                   << "424242"
                                                   << "ada@example.com" << 0 << 1000LL << ""
                                                   << "verified" << 1;
        QTest::newRow("fixed code elsewhere") << "123456"
                                              << "424242" << mail << 0 << 1000LL << "form_code_incorrect"
                                              << "unverified" << 1;
        QTest::newRow("fixed code at a look-alike domain")
            << "123456"
            << "424242"
            << "ada@notexample.com" << 0 << 1000LL << "form_code_incorrect"
            << "unverified" << 1;
        QTest::newRow("fixed code at example.com after expiry")
            << "123456"
            << "424242"
            << "ada@example.com" << 0 << 0LL << "verification_expired"
            << "expired" << 0;
    }

    void verificationCodes() {
        QFETCH(QString, expected);
        QFETCH(QString, given);
        QFETCH(QString, recipient);
        QFETCH(int, attemptsBefore);
        QFETCH(qint64, expiresInMs);
        QFETCH(QString, error);
        QFETCH(QString, statusAfter);
        QFETCH(int, attemptsAfter);
        const qint64 nowMs = now * 1000;
        QJsonObject verification =
            VerificationCode::verification("unverified", "email_code", attemptsBefore, nowMs + expiresInMs);
        ServerContext demo;
        demo.options.demo = true;
        const auto failure = VerificationCode::check(
            verification, expected, given, VerificationCode::acceptsFixedCode(demo, recipient), nowMs);
        QCOMPARE(errorCode(failure), error);
        QCOMPARE(verification.value("status").toString(), statusAfter);
        QCOMPARE(verification.value("attempts").toInt(), attemptsAfter);
    }

    void resendCooldown_data() {
        QTest::addColumn<qint64>("lastSentMs");
        QTest::addColumn<QByteArray>("retryAfter"); // empty: a new code may go out

        const qint64 sent = now * 1000;
        QTest::newRow("nothing sent yet") << 0LL << QByteArray();
        QTest::newRow("at once") << sent << QByteArray("30");
        QTest::newRow("after 10 s") << sent - 10'000 << QByteArray("20");
        QTest::newRow("after 29.001 s") << sent - 29'001 << QByteArray("1");
        QTest::newRow("after 29.999 s") << sent - 29'999 << QByteArray("1");
        QTest::newRow("after exactly 30 s") << sent - 30'000 << QByteArray();
        QTest::newRow("after 45 s") << sent - 45'000 << QByteArray();
    }

    void resendCooldown() {
        QFETCH(qint64, lastSentMs);
        QFETCH(QByteArray, retryAfter);
        const auto refused = VerificationCode::throttle(lastSentMs, now * 1000);
        QCOMPARE(refused.has_value(), !retryAfter.isEmpty());
        if (!refused)
            return;
        QCOMPARE(refused->status, 429);
        QCOMPARE(refused->headerValue("Retry-After"), retryAfter);
        const QJsonObject error = QJsonDocument::fromJson(refused->body)["errors"][0].toObject();
        QCOMPARE(error.value("code").toString(), "too_many_requests");
        QVERIFY(!error.value("message").toString().isEmpty());
        QVERIFY(error.value("long_message").toString().contains(QString::fromLatin1(retryAfter)));
    }

    void storedPasswords_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("matches");

        const QString hash = PasswordHash::make("correct horse");
        const QStringList parts = hash.split('$');
        QTest::newRow("right password") << hash << "correct horse" << true;
        QTest::newRow("wrong password") << hash << "correct horsE" << false;
        QTest::newRow("empty password") << hash << "" << false;
        QTest::newRow("hash cut short") << hash.chopped(4) << "correct horse" << false;
        QTest::newRow("three parts") << parts.mid(0, 3).join('$') << "correct horse" << false;
        QTest::newRow("another scheme") << "sha1$" + parts.mid(1).join('$') << "correct horse" << false;
        QTest::newRow("nothing stored") << ""
                                        << "" << false;
    }

    void storedPasswords() {
        QFETCH(QString, stored);
        QFETCH(QString, password);
        QFETCH(bool, matches);
        QCOMPARE(PasswordHash::matches(password, stored), matches);
    }

    void newPasswords_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << ""
                               << "form_password_length_too_short";
        QTest::newRow("7 characters") << "1234567"
                                      << "form_password_length_too_short";
        QTest::newRow("8 characters") << "12345678"
                                      << "";
        QTest::newRow("8 characters, not ASCII") << "pässwörd"
                                                 << "";
    }

    void newPasswords() {
        QFETCH(QString, password);
        QFETCH(QString, error);
        QCOMPARE(errorCode(PasswordPolicy::check(password)), error);
    }

    void storedSignIns_data() {
        QTest::addColumn<QJsonObject>("state");
        QTest::addColumn<bool>("decodes");
        const QJsonObject fresh{{"status", "needs_identifier"},
                                {"identifier", QJsonValue()},
                                {"user_id", QJsonValue()},
                                {"first_factor_verification", QJsonValue()},
                                {"second_factor_verification", QJsonValue()},
                                {"created_session_id", QJsonValue()},
                                {"abandon_at", qint64(1'800'000'000'000)}};
        QJsonObject sent = fresh;
        sent["status"] = "needs_new_password";
        sent["identifier"] = "a@example.com";
        sent["user_id"] = "user_1";
        sent["first_factor_verification"] =
            QJsonObject{{"status", "verified"}, {"strategy", "reset_password_email_code"}};
        sent["secrets"] = QJsonObject{{"reset_password_email_code", "123456"}};
        sent["code_sent_at"] = qint64(1'799'999'990'000);
        sent["oauth"] = QJsonObject{{"provider", "google"}, {"redirect_url", "orbelo://callback"}};
        QJsonObject unknown = fresh;
        unknown["status"] = "expired";
        QTest::newRow("new, nulls kept") << fresh << true;
        QTest::newRow("code sent") << sent << true;
        QTest::newRow("unknown status") << unknown << false;
        QTest::newRow("not a sign-in") << QJsonObject() << false;
    }

    // What is stored comes back unchanged, so a step that changes nothing writes nothing.
    void storedSignIns() {
        QFETCH(QJsonObject, state);
        QFETCH(bool, decodes);
        const auto attempt = SignInAttempt::decode("sia_1", "client_1", state);
        QCOMPARE(attempt.has_value(), decodes);
        if (attempt)
            QCOMPARE(attempt->encode(), state);
    }

    void signUpRequiresOption_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("fields"); // empty: the value is refused
        QTest::newRow("all three") << "first_name,last_name,legal_accepted"
                                   << QStringList{"first_name", "last_name", "legal_accepted"};
        QTest::newRow("one") << "legal_accepted" << QStringList{"legal_accepted"};
        QTest::newRow("empty item skipped")
            << "first_name,,last_name" << QStringList{"first_name", "last_name"};
        QTest::newRow("unknown field") << "first_name,middle_name" << QStringList();
        QTest::newRow("nothing") << "," << QStringList();
    }

    void signUpRequiresOption() {
        QFETCH(QString, value);
        QFETCH(QStringList, fields);
        QString error;
        const auto options = ServerOptions::parse({"--sign-up-requires", value}, &error);
        QCOMPARE(options.has_value(), !fields.isEmpty());
        if (options)
            QCOMPARE(options->signUpRequires, fields);
        else
            QVERIFY(error.contains("--sign-up-requires"));
    }
};

QTEST_GUILESS_MAIN(AuthChecksTest)
#include "AuthChecksTest.moc"
