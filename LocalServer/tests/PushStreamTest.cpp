#include "Notifications/NotificationHub.h"
#include "Push/PushStreams.h"
#include "PushClient.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <memory>
#include <thread>
#include <vector>

// The push stream over loopback TLS, with a WebSocket client as the notifier agent holds one:
// who hears what, the replay of what a device missed, refusals, and the ways a stream ends.
class PushStreamTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device student;
    QString token;

    static QString deviceToken(char fill) { return QString(64, QLatin1Char(fill)); }

    std::unique_ptr<PushClient> client() {
        return std::make_unique<PushClient>(server->server().port(), server->server().certificatePath());
    }
    // A stream of a device registered to `device`'s user; empty when it could not be opened.
    std::unique_ptr<PushClient> streamOf(const TestServer::Device& device, const QString& pushToken,
                                         const QString& query = {}) {
        if (server
                ->api("POST", "/api/mobile/devices/register", server->sessionToken(device),
                      {{"device_token", pushToken}, {"platform", "linux"}})
                .status != 200)
            return nullptr;
        auto stream = client();
        if (stream->connectDevice(pushToken, query).status != 101)
            return nullptr;
        return stream;
    }
    // A quiz result for `device`'s user: one notification each.
    void completeQuiz(const TestServer::Device& device, const QString& attemptId) {
        QCOMPARE(server->completeQuiz(device, server->sessionToken(device), attemptId).status, 200);
    }
    QJsonObject listed(const QString& id) {
        const QJsonArray all =
            server->api("GET", "/api/notifications", token).json()["notifications"].toArray();
        for (const QJsonValue& notification : all)
            if (notification["id"].toString() == id)
                return notification.toObject();
        return {};
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->freezeClock();
        QVERIFY(server->start());
        student = server->signUp("pushed@example.com", "pushed-along-1");
        token = server->sessionToken(student);
    }
    void cleanup() { server.reset(); }

    void aStreamCarriesItsUsersNotificationsInOrderAndNoOneElses() {
        const TestServer::Device other = server->signUp("other@example.com", "other-student-1");
        auto mine = streamOf(student, deviceToken('a'));
        auto theirs = streamOf(other, deviceToken('b'));
        QVERIFY(mine && theirs);

        completeQuiz(student, "quiz-1");
        completeQuiz(other, "quiz-2");
        const QString documentId = server->uploadDocument(
            token, "Osmosis is the movement of water across a membrane.\n", "Week 3 notes.txt", "text/plain");
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");

        const auto quiz = mine->next();
        QVERIFY(quiz);
        QCOMPARE(quiz->value("type").toString(), "notification");
        const QJsonObject result = quiz->value("notification").toObject();
        QCOMPARE(result.value("type").toString(), "adaptive_quiz");
        // The record exactly as the inbox lists it.
        QCOMPARE(result, listed(result.value("id").toString()));

        // The other student's result, posted in between, is not on this stream.
        const auto notes = mine->next();
        QVERIFY(notes);
        QCOMPARE(notes->value("notification").toObject().value("type").toString(), "shared_document");
        QCOMPARE(notes->value("notification").toObject().value("metadata").toObject().value("document_id"),
                 documentId);
        QVERIFY(notes->value("seq").toInteger() > quiz->value("seq").toInteger());

        const auto theirResult = theirs->next();
        QVERIFY(theirResult);
        QVERIFY(theirResult->value("notification").toObject().value("id") != result.value("id"));
        QVERIFY(theirResult->value("seq").toInteger() > quiz->value("seq").toInteger());
        QCOMPARE(server->server().context().pushStreams->openCount(), 2);
    }

    void afterReplaysOnlyWhatTheDeviceMissedSinceItsRegistration() {
        completeQuiz(student, "before-registration");
        server->advanceClock(1000);
        auto live = streamOf(student, deviceToken('c'));
        QVERIFY(live);
        server->advanceClock(1000);
        QList<qint64> seqs;
        for (const QString attempt : {"r1", "r2", "r3"}) {
            completeQuiz(student, attempt);
            const auto message = live->next();
            QVERIFY(message);
            seqs.append(message->value("seq").toInteger());
        }

        // The device comes back: its new stream replaces the old one.
        auto behind = client();
        QCOMPARE(behind->connectDevice(deviceToken('c'), "after=" + QString::number(seqs[0])).status, 101);
        QVERIFY(!live->next());
        QCOMPARE(live->closeCode(), PushStreams::replacedCode);
        completeQuiz(student, "r4");
        // Oldest first, then the live one, each once.
        qint64 r4 = 0;
        for (const qint64 seq : {seqs[1], seqs[2], qint64(-1)}) {
            const auto message = behind->next();
            QVERIFY(message);
            if (seq >= 0)
                QCOMPARE(message->value("seq").toInteger(), seq);
            r4 = message->value("seq").toInteger();
        }
        QVERIFY(r4 > seqs[2]);
        // From the beginning: everything since the registration, not the result before it.
        auto fresh = client();
        QCOMPARE(fresh->connectDevice(deviceToken('c'), "after=0").status, 101);
        for (const qint64 seq : {seqs[0], seqs[1], seqs[2], r4}) {
            const auto message = fresh->next();
            QVERIFY(message);
            QCOMPARE(message->value("seq").toInteger(), seq);
        }
    }

    void catchUpsRacingEachOtherSendEachNotificationOnce() {
        auto stream = streamOf(student, deviceToken('f'), "after=0");
        QVERIFY(stream);
        completeQuiz(student, "opened");
        QVERIFY(stream->next());
        // Stored without a word to the streams; then told many times over at once.
        const auto missed = server->server().context().notifications->record(
            student.userId, {NotificationHub::studyTask, "Time to practice", "Cards are due.", {}, {}, {}});
        QVERIFY(missed);
        std::vector<std::thread> racers;
        for (int i = 0; i < 8; ++i)
            racers.emplace_back([this] { server->server().context().pushStreams->catchUp(student.userId); });
        for (std::thread& racer : racers)
            racer.join();
        const auto caughtUp = stream->next();
        QVERIFY(caughtUp);
        QCOMPARE(caughtUp->value("notification").toObject().value("id"), missed->value("id"));
        completeQuiz(student, "after-the-race");
        const auto next = stream->next();
        QVERIFY(next);
        QCOMPARE(next->value("notification").toObject().value("type").toString(),
                 NotificationHub::quizResults);
    }

    void unknownOrMalformedRequestsAreRefusedWithoutAnUpgrade() {
        QVERIFY(streamOf(student, deviceToken('d')));
        const PushClient::Refusal unknown = client()->connectDevice(deviceToken('e'));
        QCOMPARE(unknown.status, 401);
        QVERIFY(!QJsonDocument::fromJson(unknown.body).object().value("detail").toString().isEmpty());
        QCOMPARE(client()->connect("Bearer " + deviceToken('d').toLatin1()).status, 401);
        QCOMPARE(client()->connect("Device " + deviceToken('D').toLatin1()).status, 401);
        QCOMPARE(client()->connect("Device").status, 401);
        QCOMPARE(client()->connectDevice(deviceToken('d'), "after=-1").status, 422);
        QCOMPARE(client()->connectDevice(deviceToken('d'), "after=soon").status, 422);

        const TestServer::Reply plain =
            server->send("GET", "/api/mobile/push/stream", {},
                         {{"Authorization", "Device " + deviceToken('d').toLatin1()}});
        QCOMPARE(plain.status, 426);
        QCOMPARE(plain.header("Upgrade"), "websocket");
        QCOMPARE(server->server().context().pushStreams->openCount(), 0);
    }

    void aUserHoldsOnlySoManyStreams() {
        std::vector<std::unique_ptr<PushClient>> streams;
        for (int i = 0; i < PushStreams::maxStreamsPerUser; ++i) {
            streams.push_back(streamOf(student, deviceToken("01234567"[i])));
            QVERIFY(streams.back());
        }
        QVERIFY(server
                    ->api("POST", "/api/mobile/devices/register", token,
                          {{"device_token", deviceToken('e')}, {"platform", "linux"}})
                    .status == 200);
        const PushClient::Refusal refused = client()->connectDevice(deviceToken('e'));
        QCOMPARE(refused.status, 429);
        // A device already streaming may still come back: it gives up its old stream.
        auto back = client();
        QCOMPARE(back->connectDevice(deviceToken('0')).status, 101);
        QVERIFY(!streams.front()->next());
        QCOMPARE(streams.front()->closeCode(), PushStreams::replacedCode);
        QTRY_COMPARE(server->server().context().pushStreams->openCount(), PushStreams::maxStreamsPerUser);
    }

    void aDeviceThatLeavesItsUserLosesItsStream() {
        // Signed out of the session that registered it: closed, and the token no longer opens one.
        auto signedOut = streamOf(student, deviceToken('f'));
        QVERIFY(signedOut);
        QCOMPARE(server->form("DELETE", "/v1/client/sessions", {}, student).status, 200);
        QVERIFY(!signedOut->next());
        QCOMPARE(signedOut->closeCode(), 4001);
        QCOMPARE(signedOut->closeReason(), "signed out");
        QCOMPARE(client()->connectDevice(deviceToken('f')).status, 401);

        // Taken over by another user on the same machine: the first user's stream ends, the
        // new owner's opens.
        const TestServer::Device first = server->signUp("first@example.com", "first-student-1");
        const TestServer::Device second = server->signUp("second@example.com", "second-student-1");
        auto handedOver = streamOf(first, deviceToken('1'));
        auto kept = streamOf(first, deviceToken('2'));
        QVERIFY(handedOver && kept);
        auto newOwner = streamOf(second, deviceToken('1'));
        QVERIFY(newOwner);
        QVERIFY(!handedOver->next());
        QCOMPARE(handedOver->closeCode(), 4001);
        completeQuiz(second, "after-handover");
        QVERIFY(newOwner->next());

        // Account deletion ends every stream of the account.
        QCOMPARE(server->api("DELETE", "/api/user/account", server->sessionToken(first)).status, 200);
        QVERIFY(!kept->next());
        QCOMPARE(kept->closeCode(), 4001);
        QTRY_COMPARE(server->server().context().pushStreams->openCount(), 1);
    }

    void anOversizedMessageClosesOnlyItsOwnStream() {
        auto talkative = streamOf(student, deviceToken('3'));
        auto quiet = streamOf(student, deviceToken('4'));
        QVERIFY(talkative && quiet);
        // Up to the limit a client may say anything; it is ignored.
        QVERIFY(talkative->send(std::string(64 * 1024, 'x')));
        completeQuiz(student, "still-open");
        QVERIFY(talkative->next());
        QVERIFY(quiet->next());

        QVERIFY(talkative->send(std::string(64 * 1024 + 1, 'x')));
        QVERIFY(!talkative->next());
        QCOMPARE(talkative->closeCode(), 1009);
        completeQuiz(student, "after-oversized");
        const auto message = quiet->next();
        QVERIFY(message);
        QCOMPARE(message->value("notification").toObject().value("type").toString(), "adaptive_quiz");
        QCOMPARE(server->api("GET", "/api/notifications/unread-count", token).status, 200);
    }
};

QTEST_MAIN(PushStreamTest)
#include "PushStreamTest.moc"
