// The push client's pure parts: the token's text, the reconnect schedule, reading a frame, the
// origin and certificate the app hands over, and push.json.
#include <QtTest>

#include "DeviceToken.h"
#include "PushEndpoint.h"
#include "PushMessage.h"
#include "PushStore.h"
#include "ReconnectSchedule.h"
#include "VirtualClock.h"

#include <QTemporaryDir>

using namespace std::chrono_literals;

class PushPiecesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tokenText() {
        QCOMPARE(DeviceToken::text(QByteArray::fromHex("0aff")), "0aff");
        const QString token = DeviceToken::generate();
        QVERIFY2(DeviceToken::isWellFormed(token), qPrintable(token));
        QVERIFY(DeviceToken::generate() != token);
        QVERIFY(!DeviceToken::isWellFormed(token.toUpper().replace('0', 'A')));
        QVERIFY(!DeviceToken::isWellFormed(token.left(62)));
    }

    // Each wait lies in [d/2, d]; d doubles from 1 s up to the 60 s cap; reset starts over.
    void reconnectSchedule() {
        double draw = 0.0;
        ReconnectSchedule low([&draw] { return draw; });
        const QList<qint64> ceilings{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000};
        for (qint64 ceiling : ceilings)
            QCOMPARE(low.nextDelay().count(), ceiling / 2);
        low.reset();
        QCOMPARE(low.nextDelay(), 500ms);

        draw = 0.999999;
        ReconnectSchedule high([&draw] { return draw; });
        for (qint64 ceiling : ceilings) {
            const qint64 delay = high.nextDelay().count();
            QVERIFY2(delay <= ceiling && delay >= ceiling - 1, qPrintable(QString::number(delay)));
        }
        draw = 7.0; // a faulty source never leaves the bounds
        QCOMPARE(high.nextDelay(), 60000ms);

        ReconnectSchedule system;
        for (int i = 0; i < 20; ++i) {
            const auto delay = system.nextDelay();
            QVERIFY(delay >= 500ms && delay <= ReconnectSchedule::cap);
        }
    }

    void frames_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("valid");
        QTest::newRow("notification")
            << QByteArray(
                   R"({"type":"notification","seq":7,"notification":{"id":"n-1","title":"T","message":"M"}})")
            << true;
        QTest::newRow("other type") << QByteArray(R"({"type":"hello"})") << true;
        QTest::newRow("not JSON") << QByteArray("hello") << false;
        QTest::newRow("array") << QByteArray("[1]") << false;
        QTest::newRow("no type") << QByteArray(R"({"seq":1})") << false;
        QTest::newRow("seq zero")
            << QByteArray(
                   R"({"type":"notification","seq":0,"notification":{"id":"a","title":"","message":""}})")
            << false;
        QTest::newRow("seq fraction")
            << QByteArray(
                   R"({"type":"notification","seq":1.5,"notification":{"id":"a","title":"","message":""}})")
            << false;
        QTest::newRow("seq text")
            << QByteArray(
                   R"({"type":"notification","seq":"3","notification":{"id":"a","title":"","message":""}})")
            << false;
        QTest::newRow("no id")
            << QByteArray(R"({"type":"notification","seq":3,"notification":{"title":"","message":""}})")
            << false;
        QTest::newRow("no record") << QByteArray(R"({"type":"notification","seq":3})") << false;
    }
    void frames() {
        QFETCH(QByteArray, frame);
        QFETCH(bool, valid);
        const std::optional<PushMessage> message = PushMessage::parse(frame);
        QCOMPARE(message.has_value(), valid);
        if (message && message->kind == PushMessage::Kind::notification) {
            QCOMPARE(message->seq, 7);
            QCOMPARE(message->id, "n-1");
            QCOMPARE(message->title, "T");
            QCOMPARE(message->message, "M");
        }
    }

    void endpoint() {
        QCOMPARE(PushEndpoint::problemWith("https://127.0.0.1:8443", ""), QString());
        QCOMPARE(PushEndpoint::problemWith("https://localhost/", ""), QString());
        for (const char* bad : {"http://127.0.0.1:8443", "https://", "https://h/api", "https://h?x=1",
                                "wss://h", "https://user@h", "not a url"})
            QVERIFY2(!PushEndpoint::problemWith(bad, "").isEmpty(), bad);
        QVERIFY(!PushEndpoint::problemWith("https://h", "-----BEGIN CERTIFICATE-----\nxx\n").isEmpty());

        const PushEndpoint endpoint{"https://127.0.0.1:8443", "", "t"};
        QCOMPARE(endpoint.streamUrl(12).toString(), "wss://127.0.0.1:8443/api/mobile/push/stream?after=12");
    }

    // Saved and read back; an unreadable file is set aside and push stays off.
    void store() {
        async::VirtualClock clock(QDateTime(QDate(2026, 5, 4), QTime(8, 0), Qt::UTC));
        const async::ScopedClock useClock(clock);
        QTemporaryDir dir;
        const PushStore store(dir.filePath("notifier/push.json"));
        QVERIFY(!store.load());
        QVERIFY(store.save({"https://127.0.0.1:8443", "PEM", 42, true}));
        const std::optional<PushSettings> loaded = store.load();
        QVERIFY(loaded);
        QCOMPARE(loaded->origin, "https://127.0.0.1:8443");
        QCOMPARE(loaded->certificatePem, "PEM");
        QCOMPARE(loaded->lastSeq, 42);
        QVERIFY(loaded->active);

        for (const QByteArray& corrupt :
             {QByteArray("{not json"), QByteArray(R"({"version":1,"origin":"x"})")}) {
            QFile file(store.path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(corrupt);
            file.close();
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("push settings file .* is unreadable"));
            QVERIFY(!store.load());
            QVERIFY(!QFile::exists(store.path()));
            QVERIFY(QFile::exists(store.path() + ".corrupt-20260504T080000"));
        }
        store.clear();
        QVERIFY(!store.load());
    }
};

QTEST_GUILESS_MAIN(PushPiecesTest)
#include "tst_PushPieces.moc"
