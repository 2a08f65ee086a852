#include "Speech/SpeechRoutes.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

// A WAV of `frames` frames of silence, 16-bit mono at 22,050 Hz.
QByteArray silentWav(int frames) {
    QByteArray wav(44 + frames * 2, 0);
    auto put16 = [&](int at, int v) { qToLittleEndian<quint16>(quint16(v), wav.data() + at); };
    auto put32 = [&](int at, qint64 v) { qToLittleEndian<quint32>(quint32(v), wav.data() + at); };
    wav.replace(0, 4, "RIFF");
    put32(4, wav.size() - 8);
    wav.replace(8, 8, "WAVEfmt ");
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, 22050);
    put32(28, 44100);
    put16(32, 2);
    put16(34, 16);
    wav.replace(36, 4, "data");
    put32(40, frames * 2);
    return wav;
}

// Stands in for the speech engines: counts its calls, writes a fixed clip, moves the server's
// clock by `takesMs`, and while held waits for release().
class FakeSynthesizer {
public:
    SpeechPool::Synthesize function(TestServer& server) {
        return [this, &server](const QString&, const SpeechVoice&, const QString& path, QString*) {
            ++calls;
            std::unique_lock lock(mutex_);
            opened_.wait(lock, [this] { return !held_; });
            server.advanceClock(takesMs);
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(silentWav(1000)) > 0;
        };
    }
    void hold() {
        const std::lock_guard lock(mutex_);
        held_ = true;
    }
    void release() {
        {
            const std::lock_guard lock(mutex_);
            held_ = false;
        }
        opened_.notify_all();
    }

    std::atomic<int> calls{0};
    std::atomic<qint64> takesMs{0};

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool held_ = false;
};

} // namespace

// Read-aloud clips are made on the speech pool, not on the request threads: a full pool answers
// 503 with Retry-After while other requests are still served, and a clip asked for again comes
// from the cache, which keeps to its size.
class ReadAloudTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestServer> server;
    FakeSynthesizer synthesizer;
    QString token;
    QNetworkAccessManager network;

    QNetworkReply* speakLater(const QString& text) {
        QNetworkRequest request(QUrl(server->url("/api/tts/speak")));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
        return network.post(request, QJsonDocument(QJsonObject{{"text", text}}).toJson());
    }
    TestServer::Reply speak(const QString& text) {
        return server->api("POST", "/api/tts/speak", token, {{"text", text}});
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->options().http.workerThreads = 1;
        QVERIFY(server->start());
        server->freezeClock();
        server->trustCertificate();
        SpeechLimits limits;
        limits.threads = 1;
        limits.maxQueued = 2;
        limits.expectedSynthesisMs = 3000;
        limits.clipCacheBytes = 2 * silentWav(1000).size();
        server->server().speech().usePool(limits, synthesizer.function(*server));
        synthesizer.calls = 0;
        synthesizer.takesMs = 0;
        token = server->sessionToken(server->signUp("reader@example.com", "read-it-to-me-1"));
    }
    void cleanup() {
        synthesizer.release();
        server.reset();
    }

    // One thread and two places: three clips in hand fill it exactly, a fourth is refused with the
    // wait the pool expects, and the one request thread stays free throughout.
    void aFullPoolAnswersRetryAfter() {
        SpeechPool& pool = server->server().speech().pool();
        synthesizer.hold();
        QList<QNetworkReply*> held{speakLater("One."), speakLater("Two."), speakLater("Three."),
                                   speakLater("Two.")};
        QTRY_COMPARE(pool.retryAfterSeconds(), 9); // 3 in hand, 3 s each, one thread
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 200);
        QNetworkReply* refused = speakLater("Four.");
        QVERIFY(QSignalSpy(refused, &QNetworkReply::finished).wait(10'000)); // at once, not held
        QCOMPARE(refused->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 503);
        QCOMPARE(refused->rawHeader("Retry-After"), "9");
        QCOMPARE(QJsonDocument::fromJson(refused->readAll()).object().value("detail").toString(),
                 "Read-aloud is busy. Try again in 9 seconds.");
        delete refused;

        synthesizer.takesMs = 2000;
        synthesizer.release();
        for (QNetworkReply* reply : std::as_const(held)) {
            if (!reply->isFinished())
                QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(30'000));
            QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        }
        qDeleteAll(held);
        QCOMPARE(synthesizer.calls, 3); // "Two." twice at once is made once
        // The wait now follows the syntheses as timed: 2 s each.
        synthesizer.hold();
        held = {speakLater("Five."), speakLater("Six."), speakLater("Seven.")};
        QTRY_COMPARE(pool.retryAfterSeconds(), 6);
        QCOMPARE(speak("Eight.").header("Retry-After"), "6");
        synthesizer.release();
        for (QNetworkReply* reply : std::as_const(held)) {
            if (!reply->isFinished())
                QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(30'000));
        }
        qDeleteAll(held);
    }

    // A clip asked for again is the same file, not synthesised again.
    void aCachedClipIsNotMadeAgain() {
        const auto first = speak("Good morning.");
        QCOMPARE(first.status, 200);
        QCOMPARE(first.json().value("cached").toBool(), false);
        const auto again = speak("Good morning.");
        QCOMPARE(again.json().value("cached").toBool(), true);
        QCOMPARE(again.json().value("url"), first.json().value("url"));
        QCOMPARE(server->send("GET", again.json().value("url").toString()).body, silentWav(1000));
        QCOMPARE(synthesizer.calls, 1);
    }

    // Room for exactly two clips: a third pushes out the one least recently asked for.
    void theCacheKeepsToItsSize() {
        speak("Alpha.");
        server->advanceClock(1000);
        speak("Beta.");
        server->advanceClock(1000);
        QCOMPARE(speak("Alpha.").json().value("cached").toBool(), true); // two fit exactly
        server->advanceClock(1000);
        speak("Gamma.");
        QCOMPARE(synthesizer.calls, 3);
        QCOMPARE(speak("Alpha.").json().value("cached").toBool(), true);
        QCOMPARE(speak("Beta.").json().value("cached").toBool(), false);
    }
};

QTEST_MAIN(ReadAloudTest)
#include "ReadAloudTest.moc"
