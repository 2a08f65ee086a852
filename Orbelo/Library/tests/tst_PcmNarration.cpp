#include <QtTest>

#include "InMemoryPreferences.h"
#include "Library/DocumentNarrationPlayer.h"
#include "Media/NarrationPcmStream.h"
#include "Media/PcmNarrationQueue.h"
#include "Media/WavAudio.h"
#include "ScriptedHttpServer.h"

#include <QtEndian>

#include <cmath>
#include <stdexcept>

namespace {

constexpr int rate = 22050;

QList<qint16> sine(double hz, qsizetype frames) {
    QList<qint16> samples(frames);
    for (qsizetype i = 0; i < frames; ++i)
        samples[i] = qint16(16000 * std::sin(2 * M_PI * hz * double(i) / rate));
    return samples;
}

QByteArray le16(int v) {
    QByteArray b(2, 0);
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}

QByteArray le32(qint64 v) {
    QByteArray b(4, 0);
    qToLittleEndian<quint32>(quint32(v), b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, qint64 declared = -1) {
    return id + le32(declared < 0 ? body.size() : declared) + body +
           (body.size() % 2 ? QByteArray(1, 0) : "");
}

QByteArray fmt(int format, int channels, int sampleRate, int bits) {
    return chunk("fmt ", le16(format) + le16(channels) + le32(sampleRate) +
                             le32(sampleRate * channels * bits / 8) + le16(channels * bits / 8) + le16(bits));
}

QByteArray pcm(const QList<qint16>& samples) {
    QByteArray bytes;
    for (const qint16 s : samples)
        bytes += le16(quint16(s));
    return bytes;
}

QByteArray riff(const QByteArray& chunks) {
    return "RIFF" + le32(4 + chunks.size()) + "WAVE" + chunks;
}

QByteArray wav(const QList<qint16>& samples, int channels = 1) {
    return riff(fmt(1, channels, rate, 16) + chunk("data", pcm(samples)));
}

WavAudio mono(const QList<qint16>& samples) {
    return WavAudio::parse(wav(samples));
}

// Reads `frames` frames of mono audio from the stream.
QList<qint16> readFrames(NarrationPcmStream& stream, qsizetype frames) {
    const QByteArray bytes = stream.read(frames * 2);
    return QList<qint16>(reinterpret_cast<const qint16*>(bytes.constData()),
                         reinterpret_cast<const qint16*>(bytes.constData()) + bytes.size() / 2);
}

// Reads until segment `index` has ended, a few frames at a time: the frames read by then.
qint64 framesUntilEnd(NarrationPcmStream& stream, int index, QList<qint16>* heard = nullptr) {
    qint64 read = 0;
    for (int step = 0; step < 100'000; ++step) {
        const QList<qint16> frames = readFrames(stream, 16);
        if (heard)
            heard->append(frames);
        read += frames.size();
        if (stream.playedTo(read).contains(index))
            return read;
    }
    return -1;
}

double zeroCrossingHz(const QList<qint16>& samples) {
    int crossings = 0;
    for (qsizetype i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings / 2.0 / (double(samples.size()) / rate);
}

} // namespace

// The narration's own audio path without a sound card: WAV files read strictly, Sonic's stretch
// wired into the continuous stream, and segment ends found at their exact frame.
class PcmNarrationTest : public QObject {
    Q_OBJECT
    InMemoryPreferences preferences;

private Q_SLOTS:
    void initTestCase() { ScriptedHttpServer::trustTestCertificate(); }

    void wellFormedWav() {
        const QList<qint16> samples{1, -2, 300, -32768, 32767, 0};
        WavAudio audio = WavAudio::parse(wav(samples, 2));
        QCOMPARE(audio.sampleRate, rate);
        QCOMPARE(audio.channels, 2);
        QCOMPARE(audio.frames(), 3);
        QCOMPARE(audio.samples, samples);

        // An odd-length chunk before the data is padded; the extensible header names PCM in its GUID.
        QByteArray extensible = le16(0xFFFE) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16) +
                                le16(22) + le16(16) + le32(4) + le16(1) + QByteArray(14, 'g');
        audio = WavAudio::parse(
            riff(chunk("fmt ", extensible) + chunk("LIST", "abc") + chunk("data", pcm({7, 8}))));
        QCOMPARE(audio.samples, (QList<qint16>{7, 8}));
    }

    void malformedWav_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        const QByteArray data = chunk("data", pcm({1, 2, 3, 4}));
        QTest::newRow("empty") << QByteArray() << "no RIFF/WAVE header";
        QTest::newRow("not a wave") << QByteArray("RIFF\4\0\0\0AVI ") << "no RIFF/WAVE header";
        QTest::newRow("no chunks") << riff({}) << "no format chunk";
        QTest::newRow("format only") << riff(fmt(1, 1, rate, 16)) << "no data chunk";
        QTest::newRow("data first") << riff(data + fmt(1, 1, rate, 16)) << "data before the format chunk";
        QTest::newRow("short format")
            << riff(chunk("fmt ", le16(1) + le16(1)) + data) << "format chunk too short";
        QTest::newRow("8 bit") << riff(fmt(1, 1, rate, 8) + data) << "only 16-bit PCM";
        QTest::newRow("float") << riff(fmt(3, 1, rate, 32) + data) << "only 16-bit PCM";
        QTest::newRow("no channels") << riff(fmt(1, 0, rate, 16) + data) << "impossible format";
        QTest::newRow("rate zero") << riff(fmt(1, 1, 0, 16) + data) << "impossible format";
        QTest::newRow("truncated data")
            << riff(fmt(1, 1, rate, 16) + chunk("data", pcm({1, 2}), 4000)) << "runs past the end";
        QTest::newRow("cut inside a chunk header") << riff(fmt(1, 1, rate, 16)) + "da"
                                                   << "no data chunk";
        QTest::newRow("huge chunk") << riff(chunk("LIST", "ab", 0xFFFFFFFF) + data) << "runs past the end";
        QTest::newRow("half a frame")
            << riff(fmt(1, 2, rate, 16) + chunk("data", pcm({1, 2, 3}))) << "not a whole number of frames";
    }

    // Anything but well-formed 16-bit PCM is refused with what is wrong.
    void malformedWav() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        try {
            WavAudio::parse(bytes);
            QFAIL("accepted");
        } catch (const std::runtime_error& e) {
            const QString what = QString::fromUtf8(e.what());
            QVERIFY2(what.startsWith("malformed WAV audio: ") && what.contains(problem), e.what());
        }
    }

    void stretch_data() {
        QTest::addColumn<double>("speed");
        QTest::newRow("1x") << 1.0;
        QTest::newRow("1.5x") << 1.5;
        QTest::newRow("2x") << 2.0;
        QTest::newRow("0.75x") << 0.75;
    }

    // A second of a 440 Hz tone lasts a second divided by the speed, still at 440 Hz.
    void stretch() {
        QFETCH(double, speed);
        NarrationPcmStream stream;
        stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        stream.reset(0, 1, speed);
        stream.add(0, mono(sine(440, rate)));
        QList<qint16> heard;
        const qint64 frames = framesUntilEnd(stream, 0, &heard);
        QVERIFY2(std::abs(frames - rate / speed) < rate * 0.005, qPrintable(QString::number(frames)));
        heard.resize(frames);
        QVERIFY(std::abs(zeroCrossingHz(heard) - 440) < 440 * 0.03);
    }

    // Segments follow with no frame between them; the end is reported at its last frame, progress
    // follows the frames played, silence fills in while a segment has not arrived, and the next
    // one is asked for as soon as one begins.
    void segmentsInOneStream() {
        NarrationPcmStream stream;
        stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        QSignalSpy started(&stream, &NarrationPcmStream::segmentStarted);
        stream.reset(1, 3, 1.0);
        QCOMPARE(stream.read(64).size(), 0); // no format before the first segment
        stream.add(0, mono(sine(440, 100))); // before the first one played: dropped
        QVERIFY(!stream.has(0));
        stream.add(1, mono(QList<qint16>(3000, 1000)));
        stream.add(2, mono(QList<qint16>(500, -1000)));
        QCOMPARE(stream.sampleRate(), rate);

        QList<qint16> heard = readFrames(stream, 1500);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started[0][0].toInt(), 1);
        QVERIFY(stream.playedTo(1200).isEmpty());
        QVERIFY(std::abs(stream.progress() - 0.4) < 0.15);

        heard += readFrames(stream, 2500);
        QCOMPARE(started.size(), 2);
        QCOMPARE(heard.mid(2999, 2), (QList<qint16>{1000, -1000}));
        QVERIFY(stream.playedTo(2999).isEmpty());
        QCOMPARE(stream.playedTo(3000), QList<int>{1});
        QCOMPARE(stream.progress(), 0.0);
        QCOMPARE(stream.playedTo(4000), QList<int>{2});
        QVERIFY(stream.atEnd());
        QCOMPARE(heard.mid(3500), QList<qint16>(500, 0));
    }

    // Fetches run two segments ahead of the one being read, no further, and in order.
    void fetchesRunTwoSegmentsAhead() {
        NarrationPcmStream stream;
        stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        stream.reset(0, 5, 1.0);
        QCOMPARE(PcmNarrationQueue::toFetch(stream, 5), 0);
        stream.add(0, mono(QList<qint16>(100, 1000)));
        stream.add(2, mono(QList<qint16>(100, 1000)));
        QCOMPARE(PcmNarrationQueue::toFetch(stream, 5), 1);
        stream.add(1, mono(QList<qint16>(100, 1000)));
        QCOMPARE(PcmNarrationQueue::toFetch(stream, 5), std::nullopt);
        framesUntilEnd(stream, 0);
        QCOMPARE(PcmNarrationQueue::toFetch(stream, 5), 3);
        stream.add(3, mono(QList<qint16>(100, 1000)));
        framesUntilEnd(stream, 1);
        QCOMPARE(PcmNarrationQueue::toFetch(stream, 5), 4);
        stream.add(4, mono(QList<qint16>(100, 1000)));
        framesUntilEnd(stream, 2);
        QCOMPARE(PcmNarrationQueue::toFetch(stream, 5), std::nullopt); // the last is there
    }

    // A speed change reaches the next read: half a second at 1x, then the rest at 2x.
    void speedChangeAppliesAtOnce() {
        NarrationPcmStream stream;
        stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        stream.reset(0, 1, 1.0);
        stream.add(0, mono(sine(440, rate)));
        QCOMPARE(readFrames(stream, rate / 2).size(), rate / 2);
        stream.setSpeed(2.0);
        const qint64 frames = framesUntilEnd(stream, 0);
        QVERIFY2(std::abs(frames - rate * 3 / 4) < rate * 0.01, qPrintable(QString::number(frames)));
    }

    // Segments of different formats cannot share the stream.
    void formatChangeIsRefused() {
        NarrationPcmStream stream;
        stream.reset(0, 2, 1.0);
        stream.add(0, mono({1, 2}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, stream.add(1, WavAudio::parse(wav({1, 2}, 2))));
    }

    void fetchFailures_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not found") << 404 << QByteArray() << "audio answered HTTP 404";
        QTest::newRow("not audio") << 200 << QByteArray("<html>")
                                   << "malformed WAV audio: no RIFF/WAVE header";
        QTest::newRow("truncated") << 200 << wav(sine(440, 100)).left(200)
                                   << "malformed WAV audio: chunk \"data\" runs past the end of the file";
    }

    // A segment that cannot be played fails the queue with the reason, fetched over the app's
    // TLS trust; the player shows its failure message.
    void fetchFailures() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        ScriptedHttpServer server(ScriptedHttpServer::Scheme::https);
        ScriptedResponse audio;
        audio.status = status;
        audio.body = body;
        server.enqueue(audio);
        PcmNarrationQueue queue;
        QSignalSpy failed(&queue, &NarrationQueue::failed);
        queue.start({server.baseUrl().resolved(QUrl("/media/a.wav"))}, 0, 1.0);
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(failed[0][0].toString(), reason);
        QCOMPARE(server.requests()[0].path, QByteArray("/media/a.wav"));

        server.enqueue(
            ScriptedResponse::json(200, R"({"playlist":{"document_id":"d1","voice":"v","provider":"espeak",)"
                                        R"("segments":[{"index":0,"url":"/media/a.wav"}]}})"));
        server.enqueue(audio);
        DocumentNarrationPlayer player(APIClient(server.baseUrl(), [] { return noToken(); }), preferences,
                                       std::make_unique<PcmNarrationQueue>(), QDBusConnection(QString()));
        player.load();
        QTRY_COMPARE(player.phase(), DocumentNarrationPlayer::Phase::failed);
        QCOMPARE(player.failureMessage(), "Something went wrong. Please try again.");
    }

private:
    static async::Task<std::optional<QString>> noToken() { co_return std::nullopt; }
};

QTEST_MAIN(PcmNarrationTest)
#include "tst_PcmNarration.moc"
