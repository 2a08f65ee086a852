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
#include "RetryingOperation.h"
#include "TaskProbe.h"
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

async::Task<int> failWith(URLError::Code code, int* attempts) {
    ++*attempts;
    throw URLError(code);
    co_return 0;
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

    // "host$" of 6, 7 and 8 bytes: Base64 text that needed no, two and one "=".
    void keysDecodeWhateverPaddingWasLeftOff_data() {
        QTest::addColumn<QString>("host");
        QTest::newRow("no padding") << QStringLiteral("ab.cd");
        QTest::newRow("two '='") << QStringLiteral("abc.de");
        QTest::newRow("one '='") << QStringLiteral("abcd.ef");
    }

    void keysDecodeWhateverPaddingWasLeftOff() {
        QFETCH(QString, host);
        const QString key = FrontendApiFixture::publishableKey(host);
        QVERIFY(!key.endsWith(QLatin1Char('=')));
        QCOMPARE(PublishableKey::frontendApiUrl(key), QUrl(QStringLiteral("https://") + host));
    }

    void keysWithAnyOtherPrefixAreInvalid_data() {
        QTest::addColumn<QString>("prefix");
        for (const char* prefix :
             {"pk_", "pk_test", "pk_live", "pk_prod_", "PK_TEST_", "sk_test_", "sk_live_", ""})
            QTest::newRow(prefix) << QString::fromLatin1(prefix);
    }

    void keysWithAnyOtherPrefixAreInvalid() {
        QFETCH(QString, prefix);
        const QString encoded =
            FrontendApiFixture::publishableKey(QStringLiteral("clerk.example.com")).mid(8);
        QVERIFY(keyError(prefix + encoded).startsWith(QStringLiteral("Invalid publishable key format: '")));
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

    void formValuesEscapeEachDelimiter_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("encoded");
        for (const char c : QByteArray(":#[]@!$&\'()*+,;= "))
            QTest::newRow(QByteArray(1, c).constData())
                << QString(QLatin1Char(c)) << "%" + QByteArray(1, c).toHex().toUpper();
        QTest::newRow("unreserved") << QStringLiteral("aZ09-._~") << QByteArray("aZ09-._~");
        QTest::newRow("two bytes") << QStringLiteral("é") << QByteArray("%C3%A9");
        QTest::newRow("four bytes") << QString::fromUtf8("\xF0\x9F\x98\x80") << QByteArray("%F0%9F%98%80");
        QTest::newRow("percent") << QStringLiteral("100%") << QByteArray("100%25");
    }

    void formValuesEscapeEachDelimiter() {
        QFETCH(QString, value);
        QFETCH(QByteArray, encoded);
        QCOMPARE(URLEncodedForm::encode(QJsonObject{{"k", value}}), "k=" + encoded);
        QCOMPARE(URLEncodedForm::encode(QJsonObject{{value, "v"}}), encoded + "=v");
    }

    // Nested values take bracket key paths; nulls are dropped wherever they are.
    void nestedFormValuesFlatten() {
        const QJsonObject body = json::parse(R"({"a":[[1,2],[],[null,{"b":null,"c":"x y"}]],"n":null,)"
                                             R"("o":{"z":false,"e":{}},"s":""})")
                                     .toObject();
        QCOMPARE(URLEncodedForm::encode(body), QByteArray("a%5B0%5D%5B0%5D=1&a%5B0%5D%5B1%5D=2"
                                                          "&a%5B2%5D%5B1%5D%5Bc%5D=x%20y&o%5Bz%5D=false&s="));
    }

    void sessionTokensDecodeOrSayWhyNot() {
        QCOMPARE(jwtError(QStringLiteral("aaa.bbb")),
                 QStringLiteral("The JWT aaa.bbb has 2 parts when it should have 3 parts."));
        QCOMPARE(jwtError(QStringLiteral("a.b.c.d")),
                 QStringLiteral("The JWT a.b.c.d has 4 parts when it should have 3 parts."));
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

    void rateLimitDelaysAreClamped_data() {
        QTest::addColumn<QByteArray>("retryAfter");
        QTest::addColumn<double>("resetIn"); // seconds from now; NaN: no header
        QTest::addColumn<int>("ms");
        const double none = qQNaN();
        QTest::newRow("seconds: 30") << QByteArray("30") << none << 5000;
        QTest::newRow("seconds: exactly 5") << QByteArray("5") << none << 5000;
        QTest::newRow("seconds: just under 5") << QByteArray("4.999") << none << 4999;
        QTest::newRow("seconds: 1.25") << QByteArray("1.25") << none << 1250;
        QTest::newRow("seconds: just over 0.1") << QByteArray("0.11") << none << 110;
        QTest::newRow("seconds: exactly 0.1") << QByteArray("0.1") << none << 100;
        QTest::newRow("seconds: 0") << QByteArray("0") << none << 100;
        QTest::newRow("seconds: negative") << QByteArray("-2") << none << 100;
        QTest::newRow("date: 2 s ahead") << QByteArray("Thu, 01 Jan 2026 09:00:02 GMT") << none << 2000;
        QTest::newRow("date: 60 s ahead") << QByteArray("Thu, 01 Jan 2026 09:01:00 GMT") << none << 5000;
        QTest::newRow("date: now") << QByteArray("Thu, 01 Jan 2026 09:00:00 GMT") << none << 500;
        QTest::newRow("date: past") << QByteArray("Thu, 01 Jan 2026 08:00:00 GMT") << none << 500;
        QTest::newRow("date: past, reset ahead")
            << QByteArray("Thu, 01 Jan 2026 08:00:00 GMT") << 2.0 << 2000;
        QTest::newRow("unreadable, reset ahead") << QByteArray("soon") << 1.5 << 1500;
        QTest::newRow("reset: 3 s ahead") << QByteArray() << 3.0 << 3000;
        QTest::newRow("reset: 9 s ahead") << QByteArray() << 9.0 << 5000;
        QTest::newRow("reset: 0.05 s ahead") << QByteArray() << 0.05 << 100;
        QTest::newRow("reset: past") << QByteArray() << -12.0 << 500;
        QTest::newRow("no header") << QByteArray() << none << 500;
    }

    void rateLimitDelaysAreClamped() {
        QFETCH(QByteArray, retryAfter);
        QFETCH(double, resetIn);
        QFETCH(int, ms);
        const QDateTime now(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
        HttpHeaders headers;
        if (!retryAfter.isEmpty())
            headers.append({"Retry-After", retryAfter});
        if (!qIsNaN(resetIn))
            headers.append(
                {"X-RateLimit-Reset", QByteArray::number(now.toSecsSinceEpoch() + resetIn, 'f', 3)});
        QCOMPARE(ClerkRateLimitRetryMiddleware::rateLimitDelay(responseWith(headers), now),
                 std::chrono::milliseconds(ms));
    }

    void onlyPassingFailuresAreRetried() {
        using M = ClerkRateLimitRetryMiddleware;
        for (const int status : {408, 425, 429, 500, 502, 503, 504})
            QVERIFY2(M::isRetryable(status), QByteArray::number(status));
        for (const int status : {200, 400, 401, 404, 409, 422, 501, 505})
            QVERIFY2(!M::isRetryable(status), QByteArray::number(status));
        using C = URLError::Code;
        for (const C code : {C::timedOut, C::cannotFindHost, C::cannotConnectToHost, C::networkConnectionLost,
                             C::notConnectedToInternet})
            QVERIFY(M::isRetryable(code));
        for (const C code : {C::secureConnectionFailed, C::httpTooManyRedirects, C::cancelled, C::unknown})
            QVERIFY(!M::isRetryable(code));
    }

    // Doubling from the initial delay up to the maximum; never negative.
    void retryBackoffDoublesUpToTheMaximum() {
        const RetryPolicy policy{5, 500ms, 1500ms};
        QCOMPARE(policy.delayAfter(1), 500ms);
        QCOMPARE(policy.delayAfter(2), 1000ms);
        QCOMPARE(policy.delayAfter(3), 1500ms);
        QCOMPARE(policy.delayAfter(4), 1500ms);
        QCOMPARE((RetryPolicy{3, 0ms, 1000ms}.delayAfter(2)), 0ms);
        QCOMPARE((RetryPolicy{3, -5ms, 1000ms}.delayAfter(1)), 0ms);
    }

    // A cancelled attempt ends the operation; any other failure is tried again.
    void retryingStopsAtCancellation() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        int cancelled = 0, failing = 0;
        TaskProbe<int> stopped(retryingOperation(
            RetryPolicy{3, 0ms, 0ms}, QStringLiteral("op"),
            [&cancelled] { return failWith(URLError::Code::cancelled, &cancelled); }, ClerkLogger()));
        TaskProbe<int> repeated(retryingOperation(
            RetryPolicy{3, 0ms, 0ms}, QStringLiteral("op"),
            [&failing] { return failWith(URLError::Code::timedOut, &failing); }, ClerkLogger()));
        QTRY_VERIFY(stopped.done() && repeated.done());
        QCOMPARE(stopped.error<URLError>().code(), URLError::Code::cancelled);
        QCOMPARE(cancelled, 1);
        QCOMPARE(failing, 3);
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
