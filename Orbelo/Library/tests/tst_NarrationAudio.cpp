#include <QtTest>

#include "GaplessNarrationQueue.h"
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
    explicit PrivateSoundServer(const QString& dir) : dir_(dir) {
        const QString socket = dir + QStringLiteral("/pulse.sock");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
        server_.setProcessEnvironment(env);
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                       QStringLiteral("module-null-sink sink_name=null rate=%1").arg(sampleRate),
                       QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        for (int attempt = 0; attempt < 100 && !QFile::exists(socket); ++attempt)
            QTest::qWait(50);
    }
    ~PrivateSoundServer() {
        stopRecording();
        server_.terminate();
        server_.waitForFinished(5000);
    }
    bool isRunning() const { return server_.state() == QProcess::Running; }

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

// Real playback through the media players into a null sink, recorded and measured: segments
// follow each other without a gap, and a faster rate keeps the pitch.
class NarrationAudioTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<PrivateSoundServer> sound;
    ScriptedHttpServer server;
    QHash<QByteArray, QByteArray> files;

    QList<double> record(const QList<QUrl>& segments, double rate, int expectedEnds) {
        GaplessNarrationQueue queue;
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
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
            QSKIP("needs pulseaudio and sox (scripts/setup)");
        sound = std::make_unique<PrivateSoundServer>(dir.path());
        QVERIFY(sound->isRunning());
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
        QVERIFY2(longestSilenceMs(heard) < 20, "a gap between segments");
    }

    void fasterRateKeepsThePitch() {
        const QList<double> heard = audible(record({server.baseUrl().resolved(QUrl("/a.wav"))}, 1.5, 1));
        const double hz = frequency(heard);
        qInfo("440 Hz played at 1.5x: %.1f Hz over %.1f ms", hz, 1000.0 * double(heard.size()) / sampleRate);
        QVERIFY2(std::abs(hz - 440) < 15, "the pitch moved with the rate");
    }
};

QTEST_MAIN(NarrationAudioTest)
#include "tst_NarrationAudio.moc"
