#include <QtTest>

#include "PcmNarrationQueue.h"
#include "ScriptedHttpServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

namespace {

constexpr int sampleRate = 22050;

// A PulseAudio of the test's own with a null sink, and a recorder on that sink's monitor, so the
// players' output can be measured on a machine without a sound card.
class PrivateSoundServer {
public:
    explicit PrivateSoundServer(const QString& dir)
        : dir_(dir), socket_(dir + QStringLiteral("/pulse.sock")) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
        server_.setProcessEnvironment(env);
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                       QStringLiteral("module-null-sink sink_name=null rate=%1").arg(sampleRate),
                       QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket_});
        qputenv("PULSE_SERVER", ("unix:" + socket_).toUtf8());
        for (int attempt = 0;
             attempt < 100 && server_.state() != QProcess::NotRunning && !QFile::exists(socket_); ++attempt)
            QTest::qWait(50);
    }
    ~PrivateSoundServer() {
        stopRecording();
        server_.terminate();
        server_.waitForFinished(5000);
    }
    bool isRunning() const { return server_.state() == QProcess::Running && QFile::exists(socket_); }
    // Why the server is not running, in its own words.
    QString failure() {
        const QString said = QString::fromLocal8Bit(server_.readAllStandardError()).trimmed();
        return said.isEmpty() ? server_.errorString() : said;
    }

    void startRecording() {
        recorder_.start(QStringLiteral("parecord"),
                        {QStringLiteral("--device=null.monitor"), QStringLiteral("--raw"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                         QStringLiteral("--rate=%1").arg(sampleRate),
                         dir_ + QStringLiteral("/recording.raw")});
        recorder_.waitForStarted();
    }
    // The recorded samples, -1 to 1.
    QList<double> stopRecording() {
        if (recorder_.state() == QProcess::NotRunning)
            return {};
        recorder_.terminate();
        recorder_.waitForFinished(5000);
        QFile file(dir_ + QStringLiteral("/recording.raw"));
        file.open(QIODevice::ReadOnly);
        const QByteArray raw = file.readAll();
        QList<double> samples;
        for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
            samples.append(qint16(quint8(raw[i]) | (quint8(raw[i + 1]) << 8)) / 32768.0);
        return samples;
    }

private:
    QString dir_;
    QString socket_;
    QProcess server_;
    QProcess recorder_;
};

QByteArray tone(const QString& dir, const QString& name, double frequency, double seconds) {
    const QString path = dir + '/' + name;
    QProcess::execute(QStringLiteral("sox"),
                      {QStringLiteral("-n"), QStringLiteral("-r"), QString::number(sampleRate),
                       QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"),
                       path, QStringLiteral("synth"), QString::number(seconds), QStringLiteral("sine"),
                       QString::number(frequency), QStringLiteral("vol"), QStringLiteral("0.5")});
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The sound between the first and the last audible sample.
QList<double> audible(const QList<double>& samples) {
    qsizetype first = 0;
    qsizetype last = samples.size() - 1;
    while (first < samples.size() && std::abs(samples[first]) < 0.05)
        ++first;
    while (last > first && std::abs(samples[last]) < 0.05)
        --last;
    return samples.mid(first, last - first + 1);
}

// The longest run of near-silence, in milliseconds. A sine at 0.5 stays under the threshold for a
// sample or two around each zero crossing only.
double longestSilenceMs(const QList<double>& samples) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const double s : samples) {
        run = std::abs(s) < 0.02 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return 1000.0 * double(longest) / sampleRate;
}

double frequency(const QList<double>& samples) {
    int crossings = 0;
    for (qsizetype i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings / 2.0 / (double(samples.size()) / sampleRate);
}

} // namespace

// Real playback through the narration queue into a null sink, recorded and measured: segments
// follow each other without a gap, and a faster rate keeps the pitch.
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
        QTest::qWait(300);
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
        files.insert("/a.wav", tone(dir.path(), "a.wav", 440, 0.6));
        files.insert("/b.wav", tone(dir.path(), "b.wav", 440, 0.6));
        files.insert("/c.wav", tone(dir.path(), "c.wav", 440, 0.6));
        server.setHandler([this](const RecordedRequest& request) {
            ScriptedResponse response;
            response.body = files.value(request.path);
            response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("audio/wav")));
            return response;
        });
    }
    void cleanupTestCase() { sound.reset(); }

    void segmentsFollowWithoutAGap() {
        const QUrl base = server.baseUrl();
        const QList<double> heard = audible(record(
            {base.resolved(QUrl("/a.wav")), base.resolved(QUrl("/b.wav")), base.resolved(QUrl("/c.wav"))},
            1.0, 3));
        const double lengthMs = 1000.0 * double(heard.size()) / sampleRate;
        qInfo("three 600 ms segments at 1x: %.1f ms audible, longest silence %.1f ms", lengthMs,
              longestSilenceMs(heard));
        QVERIFY2(longestSilenceMs(heard) <= 50, "a gap between segments");
    }

    void fasterRateKeepsThePitch() {
        const QList<double> heard = audible(record({server.baseUrl().resolved(QUrl("/a.wav"))}, 1.5, 1));
        const double hz = frequency(heard);
        qInfo("440 Hz played at 1.5x: %.1f Hz over %.1f ms", hz, 1000.0 * double(heard.size()) / sampleRate);
        QVERIFY2(std::abs(hz - 440) <= 440 * 0.03, "the pitch moved with the rate");
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
