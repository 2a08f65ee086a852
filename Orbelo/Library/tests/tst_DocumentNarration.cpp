#include <QtTest>

#include "APIClient.h"
#include "InMemoryPreferences.h"
#include "Library/DocumentNarrationPlayer.h"
#include "Library/NarrationJobError.h"
#include "Library/NarrationMessage.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QProcess>

using namespace std::chrono_literals;

namespace {

// Records what the player asks of its audio and lets the test end segments.
class FakeQueue final : public NarrationQueue {
public:
    void start(const QList<QUrl>& segments, int first, double rate) override {
        segments_ = segments;
        starts.append(first);
        rate_ = rate;
        paused = false;
    }
    void pause() override { paused = true; }
    void resume() override { paused = false; }
    void setRate(double rate) override { rate_ = rate; }
    void clear() override { segments_.clear(); }
    double itemProgress() const override { return progress; }

    void end(int index) { Q_EMIT itemEnded(index); }

    QList<QUrl> segments_;
    QList<int> starts;
    double rate_ = 0;
    bool paused = false;
    double progress = 0;
};

QByteArray playlist(const QByteArray& segments) {
    return R"({"document_id":"d1","voice":"en-us","provider":"espeak","segments":)" + segments + "}";
}

QByteArray job(const QByteArray& status, const QByteArray& extra = {}) {
    return R"({"job_id":"j1","status":")" + status + "\"" + extra + "}";
}

// A D-Bus session bus of the test's own, ended with the test.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                      QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine().trimmed());
    }
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name);
    }
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace

// The narration player against a scripted backend, with a recording queue in place of the
// audio output and a virtual clock for the job wait.
class DocumentNarrationTest : public QObject {
    Q_OBJECT
    InMemoryPreferences preferences;

    DocumentNarrationPlayer* makePlayer(ScriptedHttpServer& server, FakeQueue*& queue,
                                        QDBusConnection bus = QDBusConnection(QString())) {
        auto fake = std::make_unique<FakeQueue>();
        queue = fake.get();
        auto* player =
            new DocumentNarrationPlayer(scriptedClient(server), preferences, std::move(fake), bus, this);
        player->setDocumentId(QStringLiteral("d1"));
        player->setDocumentTitle(QStringLiteral("Cell biology"));
        return player;
    }

private Q_SLOTS:
    // Every failure becomes the sentence of its row; the first matching row wins.
    void failureMessages() {
        auto message = [](auto error) { return NarrationMessage::forError(std::make_exception_ptr(error)); };
        QCOMPARE(message(NarrationJobError::malformed()),
                 "The narration finished but returned no audio. Please try again.");
        QCOMPARE(message(NarrationJobError::timedOut()),
                 "This is taking longer than expected. Please try again in a moment.");
        const QString notReady =
            "This document isn't ready to narrate yet. Try again once it finishes processing.";
        QCOMPARE(message(NarrationJobError::failed(QStringLiteral("document 404 not found"))), notReady);
        QCOMPARE(message(APIError::server(404, std::nullopt)), notReady);
        const QString generic = "We couldn't generate the narration. Please try again.";
        QCOMPARE(message(NarrationJobError::failed(QStringLiteral("espeak crashed"))), generic);
        QCOMPARE(message(NarrationJobError::failed(std::nullopt)), generic);
        QCOMPARE(message(APIError::server(429, QStringLiteral("404"))),
                 "You're going a little fast. Please wait a moment and try again.");
        for (int status : {500, 503, 599})
            QCOMPARE(message(APIError::server(status, std::nullopt)),
                     "The narration service is temporarily unavailable. Please try again in a moment.");
        for (int status : {400, 413, 600, -1})
            QCOMPARE(message(APIError::server(status, std::nullopt)),
                     "We couldn't prepare this narration. Please try again.");
        QCOMPARE(message(APIError::unauthorized()), "Your session has expired. Please sign in again.");
        QCOMPARE(message(std::runtime_error("audio device gone")), "Something went wrong. Please try again.");
    }

    // Load failures over the wire: a refused request, an undecodable answer, an unreachable server.
    void loadFailuresFromTheWire() {
        ScriptedHttpServer server;
        FakeQueue* queue = nullptr;
        DocumentNarrationPlayer* player = makePlayer(server, queue);
        server.enqueue(ScriptedResponse::json(429, R"({"detail":"slow down"})"));
        player->load();
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::loading);
        QTRY_COMPARE(player->phase(), DocumentNarrationPlayer::Phase::failed);
        QCOMPARE(player->failureMessage(), "You're going a little fast. Please wait a moment and try again.");
        QCOMPARE(server.requests()[0].method, QByteArray("POST"));
        QCOMPARE(server.requests()[0].path, QByteArray("/api/tts/document/d1"));

        server.enqueue(ScriptedResponse::json(200, R"({"playlist":{"segments":"none"}})"));
        player->load();
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::loading);
        QTRY_COMPARE(player->phase(), DocumentNarrationPlayer::Phase::failed);
        QCOMPARE(player->failureMessage(), "Something went wrong preparing the narration. Please try again.");

        DocumentNarrationPlayer offline(
            scriptedClient(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(ScriptedHttpServer::closedPort()))),
            preferences, std::make_unique<FakeQueue>(), QDBusConnection(QString()));
        offline.load();
        QTRY_COMPARE(offline.phase(), DocumentNarrationPlayer::Phase::failed);
        QCOMPARE(offline.failureMessage(), "Couldn't reach the server. Check your connection and try again.");
        QVERIFY(queue->starts.isEmpty());
    }

    // A queued job is fetched every 2 seconds; after 90 fetches without an end the load gives up.
    void jobThatNeverEnds() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, R"({"job_id":"j1"})"));
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, job("queued")); });
        FakeQueue* queue = nullptr;
        DocumentNarrationPlayer* player = makePlayer(server, queue);
        player->load();
        for (int fetch = 1; fetch < DocumentNarrationPlayer::maxJobFetches; ++fetch) {
            // The answer is in when the only timer left is the wait before the next fetch.
            QVERIFY(QTest::qWaitFor([&] {
                return server.requestCount() == 1 + fetch && clock.pendingTimers() == 1 &&
                       clock.nextTimerIn() == DocumentNarrationPlayer::pollInterval;
            }));
            clock.advance(DocumentNarrationPlayer::pollInterval);
        }
        QTRY_COMPARE(player->phase(), DocumentNarrationPlayer::Phase::failed);
        QCOMPARE(server.requestCount(), 1 + 90);
        QCOMPARE(server.requests()[1].path, QByteArray("/api/jobs/j1"));
        QCOMPARE(player->failureMessage(),
                 "This is taking longer than expected. Please try again in a moment.");
    }

    void jobEndings_data() {
        QTest::addColumn<QByteArray>("finalJob");
        QTest::addColumn<QString>("message");
        QTest::newRow("failed with 404")
            << job("failed", R"(,"error":"HTTP 404: document text missing")")
            << "This document isn't ready to narrate yet. Try again once it finishes processing.";
        QTest::newRow("failed otherwise") << job("failed", R"(,"error":"synthesis crashed")")
                                          << "We couldn't generate the narration. Please try again.";
        QTest::newRow("complete without result")
            << job("complete") << "The narration finished but returned no audio. Please try again.";
        QTest::newRow("complete with no segments") << job("complete", R"(,"result":)" + playlist("[]"))
                                                   << "This document isn't ready to narrate yet.";
        QTest::newRow("complete with no usable address")
            << job("complete", R"(,"result":)" + playlist("[{\"index\":0,\"url\":\"http:/"
                                                          "/[bad\"}]"))
            << "This document isn't ready to narrate yet.";
    }

    // A job that ends after some processing: each way of ending gives its phase and message.
    void jobEndings() {
        QFETCH(QByteArray, finalJob);
        QFETCH(QString, message);
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, R"({"job_id":"j1"})"));
        server.enqueue(ScriptedResponse::json(200, job("processing")));
        server.enqueue(ScriptedResponse::json(200, finalJob));
        FakeQueue* queue = nullptr;
        DocumentNarrationPlayer* player = makePlayer(server, queue);
        player->load();
        QTRY_COMPARE(clock.nextTimerIn(), DocumentNarrationPlayer::pollInterval);
        clock.advance(DocumentNarrationPlayer::pollInterval);
        QTRY_COMPARE(player->phase(), DocumentNarrationPlayer::Phase::failed);
        QCOMPARE(player->failureMessage(), message);
        QCOMPARE(server.requestCount(), 3);
        QVERIFY(queue->starts.isEmpty());
    }

    // A ready playlist plays in index order; the controls move through the phases, a speed change
    // is stored and reaches the playing audio at once, and replay starts again at the first segment.
    void playbackPhases() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        preferences.setValue(PlaybackSpeed::preferenceKey, 1.25);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(
            200, R"({"playlist":)" +
                     playlist(R"([{"index":2,"url":"/media/c.wav"},{"index":0,"url":"https:/)"
                              R"(/cdn.test/a.wav"},
                                  {"index":1,"url":"/media/b.wav","duration_ms":900}])") +
                     "}"));
        FakeQueue* queue = nullptr;
        DocumentNarrationPlayer* player = makePlayer(server, queue);
        QCOMPARE(player->speed(), PlaybackSpeed(PlaybackSpeed::x125));
        player->load();
        QTRY_COMPARE(player->phase(), DocumentNarrationPlayer::Phase::playing);
        QCOMPARE(player->totalSegments(), 3);
        QCOMPARE(player->provider(), QStringLiteral("espeak"));
        const QUrl base = server.baseUrl();
        QCOMPARE(queue->segments_,
                 (QList<QUrl>{QUrl("https://cdn.test/a.wav"), base.resolved(QUrl("/media/b.wav")),
                              base.resolved(QUrl("/media/c.wav"))}));
        QCOMPARE(queue->starts, QList<int>{0});
        QCOMPARE(queue->rate_, 1.25);

        queue->progress = 0.4;
        clock.advance(DocumentNarrationPlayer::progressInterval);
        QCOMPARE(player->itemProgress(), 0.4);

        player->setSpeed(PlaybackSpeed::x150);
        QCOMPARE(queue->rate_, 1.5);
        QCOMPARE(preferences.number(PlaybackSpeed::preferenceKey), 1.5);

        player->togglePlayPause();
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::paused);
        QVERIFY(queue->paused);
        player->setSpeed(PlaybackSpeed::x200);
        QCOMPARE(queue->rate_, 1.5);
        player->play();
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::playing);
        QVERIFY(!queue->paused);
        QCOMPARE(queue->rate_, 2.0);

        queue->end(0);
        QCOMPARE(player->currentIndex(), 1);
        QCOMPARE(player->itemProgress(), 0.0);
        queue->end(1);
        queue->end(2);
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::finished);
        QCOMPARE(player->currentIndex(), 2);
        player->pause();
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::finished);

        player->replay();
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::playing);
        QCOMPARE(player->currentIndex(), 0);
        QCOMPARE(queue->starts, (QList<int>{0, 0}));
        QCOMPARE(server.requestCount(), 1);
    }

    // Leaving the screen ends the load under way: the pending request is aborted.
    void stopCancelsTheLoad() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, R"({"job_id":"j1"})")));
        FakeQueue* queue = nullptr;
        DocumentNarrationPlayer* player = makePlayer(server, queue);
        player->load();
        QTRY_COMPARE(server.heldCount(), 1);
        player->stop();
        QTRY_COMPARE(server.clientAbortsWhileHeld(), 1);
        server.releaseHeld();
        QTest::qWait(20);
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::loading);
        QVERIFY(queue->starts.isEmpty());
    }

    // The desktop sees the document over MPRIS2 and drives the player with its media keys.
    void mediaControlsOnTheSessionBus() {
        PrivateBus bus;
        QVERIFY(!bus.address().isEmpty());
        QDBusConnection appBus = bus.connect(QStringLiteral("app"));
        QDBusConnection desktop = bus.connect(QStringLiteral("desktop"));
        QVERIFY(appBus.isConnected() && desktop.isConnected());
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(
            200,
            R"({"playlist":)" +
                playlist(
                    R"([{"index":0,"url":"/a.wav"},{"index":1,"url":"/b.wav"},{"index":2,"url":"/c.wav"}])") +
                "}"));
        FakeQueue* queue = nullptr;
        DocumentNarrationPlayer* player = makePlayer(server, queue, appBus);
        player->load();
        QTRY_COMPARE(player->phase(), DocumentNarrationPlayer::Phase::playing);

        // The desktop's side calls without blocking: the app answers on this thread.
        const QString service = QStringLiteral("org.mpris.MediaPlayer2.orbelo");
        const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
        auto call = [&](const QString& interface, const QString& method, const QVariantList& arguments = {}) {
            QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
            message.setArguments(arguments);
            QDBusPendingCall pending = desktop.asyncCall(message);
            return QTest::qWaitFor([&] { return pending.isFinished(); }, 5000) ? pending.reply()
                                                                               : QDBusMessage();
        };
        auto property = [&](const QString& interface, const QString& name) {
            const QDBusMessage reply = call(QStringLiteral("org.freedesktop.DBus.Properties"),
                                            QStringLiteral("Get"), {interface, name});
            return reply.arguments().value(0).value<QDBusVariant>().variant();
        };
        const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
        const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
        auto command = [&](const char* method) {
            return call(playerInterface, QString::fromLatin1(method)).type() == QDBusMessage::ReplyMessage;
        };
        auto metadata = [&] {
            return qdbus_cast<QVariantMap>(
                property(playerInterface, QStringLiteral("Metadata")).value<QDBusArgument>());
        };
        QCOMPARE(property(rootInterface, QStringLiteral("Identity")).toString(), QStringLiteral("Orbelo"));
        QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")).toString(),
                 QStringLiteral("Playing"));
        QCOMPARE(metadata()["xesam:title"].toString(), QStringLiteral("Cell biology"));
        QCOMPARE(metadata()["xesam:artist"].toStringList(), QStringList{QStringLiteral("Segment 1 of 3")});

        QVERIFY(command("PlayPause"));
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::paused);
        QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")).toString(),
                 QStringLiteral("Paused"));
        QVERIFY(command("Play"));
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::playing);
        QVERIFY(command("Next"));
        QCOMPARE(player->currentIndex(), 1);
        QCOMPARE(metadata()["xesam:artist"].toStringList(), QStringList{QStringLiteral("Segment 2 of 3")});
        QVERIFY(command("Previous"));
        QCOMPARE(player->currentIndex(), 0);
        QCOMPARE(queue->starts, (QList<int>{0, 1, 0}));
        QVERIFY(command("Pause"));
        QCOMPARE(player->phase(), DocumentNarrationPlayer::Phase::paused);

        delete player;
        QTRY_VERIFY(!desktop.interface()->isServiceRegistered(service).value());
        QDBusConnection::disconnectFromBus(QStringLiteral("app"));
        QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
    }
};

QTEST_MAIN(DocumentNarrationTest)
#include "tst_DocumentNarration.moc"
