// The preferences store and the reachability rule.
#include "InMemoryPreferences.h"
#include "NetworkStatusRule.h"
#include "SettingsPreferences.h"

#include <QTemporaryDir>
#include <QtTest>

class PlatformServicesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every reachability against every kind of backend host.
    void reachabilityCountsForTheBackendsNetwork_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("expected"); // Disconnected, Local, Site, Online
        QTest::newRow("loopback v4") << "127.0.0.1"
                                     << "1111";
        QTest::newRow("loopback range") << "127.8.0.3"
                                        << "1111";
        QTest::newRow("loopback v6") << "[::1]"
                                     << "1111";
        QTest::newRow("localhost") << "LocalHost"
                                   << "1111";
        QTest::newRow("private 10/8") << "10.0.0.7"
                                      << "0111";
        QTest::newRow("private 172.16/12 low") << "172.16.0.1"
                                               << "0111";
        QTest::newRow("just above 172.16/12") << "172.32.0.1"
                                              << "0001";
        QTest::newRow("private 192.168/16") << "192.168.1.20"
                                            << "0111";
        QTest::newRow("link-local") << "169.254.3.4"
                                    << "0111";
        QTest::newRow("unique-local v6") << "fd12::1"
                                         << "0111";
        QTest::newRow("mDNS name") << "studybox.local"
                                   << "0111";
        QTest::newRow("single label") << "studybox"
                                      << "0111";
        QTest::newRow("public address") << "93.184.216.34"
                                        << "0001";
        QTest::newRow("public name") << "api.orbelo.app"
                                     << "0001";
    }
    void reachabilityCountsForTheBackendsNetwork() {
        QFETCH(QString, host);
        QFETCH(QString, expected);
        using R = QNetworkInformation::Reachability;
        QVERIFY(!NetworkStatusRule::isOnline(R::Unknown, host));
        const R states[] = {R::Disconnected, R::Local, R::Site, R::Online};
        QString actual;
        for (R state : states)
            actual += *NetworkStatusRule::isOnline(state, host) ? '1' : '0';
        QCOMPARE(actual, expected);
    }

    void settingsKeepTypedValuesAcrossInstances() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prefs.conf"));
        const QByteArray bytes("\x00\x01{\"a\":1}\xff", 10);
        {
            auto store = SettingsPreferences::atPath(path);
            store.setValue(QStringLiteral("orbelo.onboarding.v2.completed"), true);
            store.setValue(QStringLiteral("pomodoro.completedToday"), 3);
            store.setValue(QStringLiteral("tts.playbackSpeed"), 1.25);
            store.setValue(QStringLiteral("mac.update.cachedManifest"), bytes);
            store.setValue(QStringLiteral("orbelo.interests.v1.selections"),
                           QStringList{"Chess", "Formula 1"});
            store.sync();
        }
        auto store = SettingsPreferences::atPath(path);
        QVERIFY(store.boolValue(QStringLiteral("orbelo.onboarding.v2.completed")));
        QCOMPARE(store.integer(QStringLiteral("pomodoro.completedToday")), 3);
        QCOMPARE(store.number(QStringLiteral("tts.playbackSpeed")), 1.25);
        QCOMPARE(store.data(QStringLiteral("mac.update.cachedManifest")), bytes);
        QCOMPARE(store.stringList(QStringLiteral("orbelo.interests.v1.selections")),
                 (QStringList{"Chess", "Formula 1"}));
        QVERIFY(!store.integer(QStringLiteral("missing")));
        QVERIFY(!store.boolValue(QStringLiteral("missing")));
        store.remove(QStringLiteral("pomodoro.completedToday"));
        QVERIFY(!store.contains(QStringLiteral("pomodoro.completedToday")));
    }

    void unreadableValuesReadAsAbsent() {
        InMemoryPreferences store;
        store.setValue(QStringLiteral("n"), QStringLiteral("not a number"));
        QVERIFY(!store.integer(QStringLiteral("n")));
        QVERIFY(!store.number(QStringLiteral("n")));
        QVERIFY(store.boolValue(QStringLiteral("n"), true));
    }
};

QTEST_GUILESS_MAIN(PlatformServicesTest)
#include "tst_PlatformServices.moc"
