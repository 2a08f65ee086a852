// The auth client's formats: publishable keys, form bodies, session tokens, dates and records.
#include <QtTest>

#include "ClerkInitializationError.h"
#include "ClerkRateLimitRetryMiddleware.h"
#include "Client.h"
#include "DecodedJWT.h"
#include "FrontendApiFixture.h"
#include "HTTPDate.h"
#include "Json.h"
#include "PublishableKey.h"
#include "URLEncodedForm.h"

using namespace std::chrono_literals;

namespace {

QString keyError(const QString& key) {
    try {
        PublishableKey::frontendApiUrl(key);
    } catch (const ClerkInitializationError& e) {
        return e.message() + QLatin1Char('|') + e.failureReason();
    }
    return {};
}

QString jwtError(const QString& jwt) {
    try {
        DecodedJWT::decode(jwt);
    } catch (const DecodedJWT::DecodeError& e) {
        return e.message();
    }
    return {};
}

HttpResponse responseWith(HttpHeaders headers) {
    HttpResponse response;
    response.status = 429;
    response.headers = std::move(headers);
    return response;
}

} // namespace

class ClerkFormatsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void publishableKeysNameTheirFrontendApi() {
        // "clerk.example.com$" is 18 bytes: its Base64 text ends in "=" padding, left off in keys.
        const QString key = FrontendApiFixture::publishableKey(QStringLiteral("clerk.example.com"));
        QVERIFY(!key.endsWith(QLatin1Char('=')));
        QCOMPARE(PublishableKey::frontendApiUrl(key), QUrl(QStringLiteral("https://clerk.example.com")));
        const QString live = FrontendApiFixture::publishableKey(QStringLiteral("127.0.0.1:8443"), "pk_live_");
        QCOMPARE(PublishableKey::frontendApiUrl(live), QUrl(QStringLiteral("https://127.0.0.1:8443")));
        QVERIFY(!PublishableKey::isDevelopment(live));
    }

    void invalidKeysAreReportedShortened() {
        QCOMPARE(keyError(QStringLiteral("sk_test_Y2xlcmsuZXhhbXBsZS5jb20k")),
                 QStringLiteral(
                     "Invalid publishable key format: 'sk_test_Y2...'. Publishable keys must start with "
                     "'pk_test_' or 'pk_live_'.|The provided key 'sk_test_Y2...' does not match the "
                     "expected format (pk_test_... or pk_live_...)."));
        QVERIFY(keyError(QString()).startsWith("Invalid publishable key format: 'empty'."));
        QVERIFY(
            keyError(QStringLiteral("pk_test_")).startsWith("Invalid publishable key format: 'pk_test_'."));
        QVERIFY(keyError(QStringLiteral("pk_test_12")).contains("'pk_test_12'")); // 10 characters: whole
        QVERIFY(!keyError(QStringLiteral("pk_test_!!!!")).isEmpty());             // not Base64
        // Decodes, but without the closing "$".
        QVERIFY(!keyError(QStringLiteral("pk_test_") + QString::fromLatin1(QByteArray("host").toBase64()))
                     .isEmpty());
    }

    void formBodiesAreSortedFlatAndEscaped() {
        QJsonObject body = json::parse(R"({"strategy":"email_code","code":"42 42",
            "empty":null,"transfer":true,"count":3,"ratio":0.5,
            "unsafe_metadata":{"b":[1,"two"],"a":{"c":null,"d":"é"}}})")
                               .toObject();
        body.insert(QStringLiteral("password"), QStringLiteral(":#[]@!$&\'()*+,;="));
        body.insert(QStringLiteral("redirect_url"), QStringLiteral("app://cb?x=1"));
        QCOMPARE(URLEncodedForm::encode(body),
                 QByteArray("code=42%2042&count=3&password=%3A%23%5B%5D%40%21%24%26%27%28%29%2A%2B%2C%3B%3D"
                            "&ratio=0.5&redirect_url=app%3A//cb?x%3D1&strategy=email_code&transfer=true"
                            "&unsafe_metadata%5Ba%5D%5Bd%5D=%C3%A9"
                            "&unsafe_metadata%5Bb%5D%5B0%5D=1&unsafe_metadata%5Bb%5D%5B1%5D=two"));
    }

    void sessionTokensDecodeOrSayWhyNot() {
        QCOMPARE(jwtError(QStringLiteral("aaa.bbb")),
                 QStringLiteral("The JWT aaa.bbb has 2 parts when it should have 3 parts."));
        QCOMPARE(jwtError(QStringLiteral("a.b%c.d")), QStringLiteral("Failed to decode Base64URL value b%c"));
        QCOMPARE(jwtError(QStringLiteral("a.bm90IGpzb24.d")),
                 QStringLiteral("Failed to parse JSON from Base64URL value bm90IGpzb24"));

        const QDateTime now = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
        const DecodedJWT token =
            DecodedJWT::decode(FrontendApiFixture::jwt(now, 60, QStringLiteral("sess_9")));
        QCOMPARE(token.expiresAt(), now.addSecs(60));
        QCOMPARE(token.claim(QStringLiteral("sid")).string(), QStringLiteral("sess_9"));
        QVERIFY(!token.claim(QStringLiteral("sid")).number());
        QVERIFY(!token.claim(QStringLiteral("missing")).exists());
    }

    void httpDatesParseInEnglishAndUtcOnly() {
        QCOMPARE(HTTPDate::parse("Sun, 06 Nov 1994 08:49:37 GMT"),
                 QDateTime(QDate(1994, 11, 6), QTime(8, 49, 37), Qt::UTC));
        QVERIFY(!HTTPDate::parse("Sunday, 06-Nov-94 08:49:37 GMT"));
        QVERIFY(!HTTPDate::parse("Sun, 06 Nov 1994 08:49:37 PST"));
        QVERIFY(!HTTPDate::parse(""));
    }

    void rateLimitDelaysAreClamped() {
        const QDateTime now(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
        using M = ClerkRateLimitRetryMiddleware;
        QCOMPARE(M::rateLimitDelay(responseWith({{"Retry-After", "30"}}), now), 5000ms);
        QCOMPARE(M::rateLimitDelay(responseWith({{"Retry-After", "0"}}), now), 100ms);
        QCOMPARE(M::rateLimitDelay(responseWith({{"Retry-After", "1.25"}}), now), 1250ms);
        QCOMPARE(M::rateLimitDelay(responseWith({}), now), 500ms);
        QCOMPARE(M::rateLimitDelay(responseWith({{"Retry-After", "Thu, 01 Jan 2026 09:00:02 GMT"}}), now),
                 2000ms);
        // A date in the past, then a reset time in the past: nothing usable, so the fallback.
        QCOMPARE(M::rateLimitDelay(responseWith({{"Retry-After", "Thu, 01 Jan 2026 08:00:00 GMT"}}), now),
                 500ms);
        const QByteArray reset = QByteArray::number(now.toSecsSinceEpoch() + 3);
        QCOMPARE(M::rateLimitDelay(responseWith({{"X-RateLimit-Reset", reset}}), now), 3000ms);
        QCOMPARE(M::rateLimitDelay(responseWith({{"X-RateLimit-Reset", "12"}}), now), 500ms);
    }

    void clientsRoundTripWithMillisecondDates() {
        const QByteArray wire = FrontendApiFixture::clientJson(
            QStringLiteral("client_1"),
            {FrontendApiFixture::sessionJson(QStringLiteral("sess_1"), QStringLiteral("pending"),
                                             R"(,"tasks":[{"key":"setup-mfa"}])")},
            QStringLiteral("sess_1"), 1700000000123);
        const Client client = json::decode<Client>(wire);
        QCOMPARE(client.updatedAt.value, QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC));
        QCOMPARE(client.activeSession()->status, SessionStatus::pending);
        QCOMPARE(client.activeSession()->tasks->first().key, QStringLiteral("setup-mfa"));

        const QJsonObject out = json::parse(json::encode(client)).toObject();
        QCOMPARE(out.value("updated_at").toDouble(), 1700000000123.0);
        QCOMPARE(out.value("last_active_session_id").toString(), QStringLiteral("sess_1"));
        QCOMPARE(json::decode<Client>(json::encode(client)).sessions.first().user->firstName,
                 QStringLiteral("Ada"));

        const auto factor =
            json::decode<Factor>(R"({"strategy":"email_code","default":true,"email_address_id":"e"})");
        QCOMPARE(factor.default_, true);
        QCOMPARE(json::parse(json::encode(factor)).toObject().value("default"), QJsonValue(true));
    }

    void primaryEmailIsTheMarkedAddress() {
        User user;
        user.primaryEmailAddressId = QStringLiteral("em_2");
        user.emailAddresses = QList<User::EmailAddress>{};
        User::EmailAddress work;
        work.id = QStringLiteral("em_1");
        work.emailAddress = QStringLiteral("old@example.com");
        User::EmailAddress home;
        home.id = QStringLiteral("em_2");
        home.emailAddress = QStringLiteral("ana@example.com");
        user.emailAddresses->append(work);
        user.emailAddresses->append(home);
        QCOMPARE(user.primaryEmailAddress().value_or(QString()), QStringLiteral("ana@example.com"));
        user.primaryEmailAddressId.reset();
        QVERIFY(!user.primaryEmailAddress());
        user.primaryEmailAddressId = QStringLiteral("em_3");
        QVERIFY(!user.primaryEmailAddress());
    }
};

QTEST_GUILESS_MAIN(ClerkFormatsTest)
#include "tst_ClerkFormats.moc"
