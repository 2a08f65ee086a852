#include <QtTest>

#include "Media/PcmNarrationQueue.h"
#include "PrivateSoundServer.h"
#include "ScriptedHttpServer.h"

#include <QTemporaryDir>

#include <cmath>

// Real playback through the narration queue into a null sink, recorded and measured: all of it is
// heard, a faster rate keeps the pitch, and playback starts at a segment and pauses. The silence between
// segments depends on how busy the machine is and is measured by bench_NarrationGap.
class NarrationAudioTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<PrivateSoundServer> sound;
    ScriptedHttpServer server;
    QHash<QByteArray, QByteArray> files;

    QList<double> record(const QList<QUrl>& segments, double rate, int expectedEnds) {
        PcmNarrationQueue queue;
        QSignalSpy ended(&queue, &NarrationQueue::itemEnded);
        QSignalSpy failed(&queue, &NarrationQueue::failed);
        sound->startRecording();
        QTest::qWait(200);
        queue.start(segments, 0, rate);
        [&] { QTRY_COMPARE_WITH_TIMEOUT(ended.size(), expectedEnds, 10000); }();
        // The end is reported while the sink still holds the last of it.
        QTest::qWait(300 + int(PcmNarrationQueue::sinkBuffer.count()));
        [&] { QCOMPARE(failed.size(), 0); }();
        return sound->stopRecording();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty() &&
                     !QStandardPaths::findExecutable(QStringLiteral("parecord")).isEmpty(),
                 "needs sox and parecord (scripts/setup)");
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
            QSKIP("pulseaudio is not installed (scripts/setup)");
        sound = std::make_unique<PrivateSoundServer>(dir.path());
        if (!sound->isRunning())
            QSKIP(qPrintable(QStringLiteral("pulseaudio could not start here: ") + sound->failure()));
        for (const char* name : {"a.wav", "b.wav", "c.wav"})
            files.insert(QByteArray("/") + name, PrivateSoundServer::tone(dir.path(), name, 440, 0.6));
        server.setHandler([this](const RecordedRequest& request) {
            ScriptedResponse response;
            response.body = files.value(request.path);
            response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("audio/wav")));
            return response;
        });
    }
    void cleanupTestCase() { sound.reset(); }

    void fasterRateKeepsThePitch() {
        const QUrl base = server.baseUrl();
        const QList<double> heard = PrivateSoundServer::audible(record(
            {base.resolved(QUrl("/a.wav")), base.resolved(QUrl("/b.wav")), base.resolved(QUrl("/c.wav"))},
            1.5, 3));
        const double hz = PrivateSoundServer::frequency(heard);
        qInfo("440 Hz played at 1.5x: %.1f Hz over %.1f ms", hz,
              1000.0 * double(heard.size()) / PrivateSoundServer::sampleRate);
        QVERIFY2(std::abs(hz - 440) <= 440 * 0.03, "the pitch moved with the rate");
        // A busy machine may stretch it with gaps, but none of it is lost.
        QVERIFY2(heard.size() >= 1.2 * PrivateSoundServer::sampleRate * 0.97,
                 "some of the narration was not heard");
    }

    // Next and previous start over at another segment; a pause holds the position where it is.
    void startsAtASegmentAndPauses() {
        const QUrl base = server.baseUrl();
        PcmNarrationQueue queue;
        QSignalSpy ended(&queue, &NarrationQueue::itemEnded);
        queue.start(
            {base.resolved(QUrl("/a.wav")), base.resolved(QUrl("/b.wav")), base.resolved(QUrl("/c.wav"))}, 1,
            1.0);
        QTRY_VERIFY(queue.itemProgress() > 0.2);
        queue.pause();
        QTest::qWait(100);
        const double held = queue.itemProgress();
        QTest::qWait(300);
        QCOMPARE(queue.itemProgress(), held);
        QVERIFY(ended.isEmpty());
        queue.resume();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 2, 5000);
        QCOMPARE(ended[0][0].toInt(), 1);
        QCOMPARE(ended[1][0].toInt(), 2);
    }
};

QTEST_MAIN(NarrationAudioTest)
#include "tst_NarrationAudio.moc"
