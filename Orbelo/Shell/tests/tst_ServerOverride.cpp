// `orbelo --server`: the app's values for another server, read back the way the app reads them.
#include "APIConfiguration.h"
#include "AppInfo.h"
#include "PublishableKey.h"
#include "Shell/ServerOverride.h"

#include <QtTest>

class ServerOverrideTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesDecodeToTheSameServer_data() {
        QTest::addColumn<QString>("origin");
        QTest::addColumn<QString>("base");
        QTest::newRow("loopback port") << "https://127.0.0.1:45123"
                                       << "https://127.0.0.1:45123";
        QTest::newRow("trailing slash") << "https://127.0.0.1:9443/"
                                        << "https://127.0.0.1:9443";
        QTest::newRow("default port") << "https://api.example.com"
                                      << "https://api.example.com";
        QTest::newRow("ipv6") << "https://[::1]:8443"
                              << "https://[::1]:8443";
    }
    void valuesDecodeToTheSameServer() {
        QFETCH(QString, origin);
        QFETCH(QString, base);
        QString error;
        const auto values = ServerOverride::serverValues(origin, &error);
        QVERIFY2(values, qPrintable(error));
        QCOMPARE(values->apiBaseUrl.value(), base);
        QCOMPARE(values->appcastUrl.value(), base + "/appcast.json");
        // The auth client finds the Frontend API from the key alone.
        const QString key = values->publishableKey.value();
        QVERIFY(PublishableKey::isDevelopment(key));
        QCOMPARE(PublishableKey::frontendApiUrl(key), QUrl(base));
    }

    void keyMatchesTheBuildsEncoding() {
        QString error;
        const auto values = ServerOverride::serverValues("https://127.0.0.1:8443", &error);
        QVERIFY(values);
        QCOMPARE(values->publishableKey.value(), QString("pk_test_MTI3LjAuMC4xOjg0NDMk"));
    }

    void rejectsWhatIsNotAnOrigin_data() {
        QTest::addColumn<QString>("origin");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain http") << "http://127.0.0.1:8443"
                                    << "expected https";
        QTest::newRow("no scheme") << "127.0.0.1:8443"
                                   << "expected https";
        QTest::newRow("empty") << ""
                               << "expected https";
        QTest::newRow("no host") << "https://:8443"
                                 << "no host";
        QTest::newRow("path") << "https://127.0.0.1:8443/api"
                              << "expected only";
        QTest::newRow("query") << "https://127.0.0.1:8443?x=1"
                               << "expected only";
        QTest::newRow("user") << "https://me@127.0.0.1:8443"
                              << "expected only";
    }
    void rejectsWhatIsNotAnOrigin() {
        QFETCH(QString, origin);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!ServerOverride::serverValues(origin, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(!ServerOverride::apply(origin, &error));
    }

    // Runs last: it changes the process's values for good.
    void applyReplacesOnlyTheServerValues() {
        const QString build = AppInfo::buildNumber();
        const QString version = AppInfo::version();
        QString error;
        QVERIFY2(ServerOverride::apply("https://127.0.0.1:45123", &error), qPrintable(error));
        QCOMPARE(APIConfiguration::baseURL(), QUrl("https://127.0.0.1:45123"));
        QCOMPARE(PublishableKey::frontendApiUrl(AppInfo::publishableKey()), QUrl("https://127.0.0.1:45123"));
        QCOMPARE(AppInfo::appcastUrl(), QString("https://127.0.0.1:45123/appcast.json"));
        QCOMPARE(AppInfo::buildNumber(), build);
        QCOMPARE(AppInfo::version(), version);
    }
};

QTEST_GUILESS_MAIN(ServerOverrideTest)
#include "tst_ServerOverride.moc"
