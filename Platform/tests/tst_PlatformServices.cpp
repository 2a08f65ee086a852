// Process-local notifications and the preferences store.
#include "InMemoryPreferences.h"
#include "NotificationCenter.h"
#include "SettingsPreferences.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

class PlatformServicesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void notificationsReachObserversOnTheMainThread() {
        auto& center = NotificationCenter::shared();
        QObject context;
        QList<QVariant> received;
        QList<QThread*> threads;
        center.observe(QStringLiteral("orbeloSelectSection"), &context, [&](const QVariant& object) {
            received << object;
            threads << QThread::currentThread();
        });
        center.post(QStringLiteral("somethingElse"), 1);
        center.post(QStringLiteral("orbeloSelectSection"), 3);

        QThread* worker = QThread::create([&] { center.post(QStringLiteral("orbeloSelectSection"), 5); });
        worker->start();
        worker->wait();
        delete worker;
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(received, (QList<QVariant>{3, 5}));
        QCOMPARE(threads, (QList<QThread*>{QThread::currentThread(), QThread::currentThread()}));
    }

    void observersStopWithTheirContext() {
        auto& center = NotificationCenter::shared();
        int calls = 0;
        {
            QObject context;
            center.observe(QStringLiteral("x"), &context, [&](const QVariant&) { ++calls; });
            center.post(QStringLiteral("x"));
        }
        center.post(QStringLiteral("x"));
        QCOMPARE(calls, 1);
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
