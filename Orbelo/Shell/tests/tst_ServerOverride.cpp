// `orbelo --server`: the bundle values for another server, read back the way the app reads them.
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
        const auto values = ServerOverride::bundleValues(origin, &error);
        QVERIFY2(values, qPrintable(error));
        QCOMPARE(values->value("API_BASE_URL").toString(), base);
        QCOMPARE(values->value("OrbeloAppcastURL").toString(), base + "/appcast.json");
        // The auth client finds the Frontend API from the key alone.
        const QString key = values->value("CLERK_PUBLISHABLE_KEY").toString();
        QVERIFY(PublishableKey::isDevelopment(key));
        QCOMPARE(PublishableKey::frontendApiUrl(key), QUrl(base));
    }

    void keyMatchesTheBuildsEncoding() {
        QString error;
        const auto values = ServerOverride::bundleValues("https://127.0.0.1:8443", &error);
        QVERIFY(values);
        QCOMPARE(values->value("CLERK_PUBLISHABLE_KEY").toString(), QString("pk_test_MTI3LjAuMC4xOjg0NDMk"));
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
        QVERIFY(!ServerOverride::bundleValues(origin, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(!ServerOverride::apply(origin, &error));
    }

    // Runs last: it changes the process's bundle for good.
    void applyReplacesOnlyTheServerValues() {
        const QVariant version = AppInfo::value("CFBundleVersion");
        const QVariant identifier = AppInfo::value("CFBundleIdentifier");
        QString error;
        QVERIFY2(ServerOverride::apply("https://127.0.0.1:45123", &error), qPrintable(error));
        QCOMPARE(APIConfiguration::baseURL(), QUrl("https://127.0.0.1:45123"));
        QCOMPARE(PublishableKey::frontendApiUrl(AppInfo::value("CLERK_PUBLISHABLE_KEY").toString()),
                 QUrl("https://127.0.0.1:45123"));
        QCOMPARE(AppInfo::value("CFBundleVersion"), version);
        QCOMPARE(AppInfo::value("CFBundleIdentifier"), identifier);
    }
};

QTEST_GUILESS_MAIN(ServerOverrideTest)
#include "tst_ServerOverride.moc"
