#include "Gamification/SongGenerationResult.h"
#include "Gamification/UserRewardItem.h"
#include "GenerationJobStatusResponse.h"
#include "InlineOrEnqueued.h"
#include "Json.h"
#include "Songs/SongRoutes.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTest>
#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore>

namespace {

const QByteArray cellNotes = R"(# Cellular respiration

Mitochondria are the organelles where cellular respiration releases energy from glucose. ATP is the
molecule that carries that energy to the rest of the cell. Glycolysis is the first stage, which
splits glucose in the cytoplasm.
)";
const QByteArray shortNotes = "Osmosis is the movement of water across a membrane.\n";

// Stands in for the real composer: writes a fixed "Ogg" file and lyrics, or fails, or holds the
// job until the test lets it go. Runs on the server's job thread.
struct FakeComposer {
    enum class Mode { succeed, fail, hold };
    std::atomic<Mode> mode{Mode::succeed};
    std::atomic<int> calls{0};
    std::counting_semaphore<8> release{0};
    std::mutex lock;
    SongComposer::Request last;

    static QByteArray audio() {
        QByteArray bytes("OggS");
        for (int i = 4; i < 1000; ++i)
            bytes.append(char(i % 251));
        return bytes;
    }

    SongRoutes::Composer function() {
        return [this](const SongComposer::Request& request, const QString& directory,
                      const std::function<bool()>&, QString* error) -> std::optional<SongComposer::Song> {
            ++calls;
            {
                std::lock_guard guard(lock);
                last = request;
            }
            if (mode == Mode::hold)
                release.acquire();
            if (mode == Mode::fail) {
                *error = "The melody could not be fitted.";
                return std::nullopt;
            }
            QFile file(QDir(directory).filePath("song.ogg"));
            if (!file.open(QIODevice::WriteOnly) || file.write(audio()) != 1000)
                return std::nullopt;
            return SongComposer::Song{"[Verse]\nMitochondria make ATP\n", 92, 60'000, file.fileName()};
        };
    }
};

} // namespace

// Study songs over HTTPS: a song reward spent on a document queues a "song" job, the use is spent
// once the song is ready (and kept when it fails), the track is served to its owner with range
// requests, and a stored mnemonic fulfils a mnemonic reward.
class StudySongTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    std::unique_ptr<FakeComposer> composer;
    TestServer::Device device;
    QString token;
    QString courseId;

    void grant(int amount) {
        QCOMPARE(
            server
                ->send(
                    "POST", "/__control/credits",
                    QJsonDocument(QJsonObject{{"email", "singer@example.com"}, {"amount", amount}}).toJson(),
                    {{"Content-Type", "application/json"}})
                .status,
            200);
    }

    QString buy(const QString& rewardId) {
        const TestServer::Reply reply = server->api("POST", "/api/gamification/rewards/purchase", token,
                                                    {{"user_id", device.userId}, {"reward_id", rewardId}});
        return reply.json()["user_reward_id"].toString();
    }

    QString upload(const QByteArray& text, const QString& filename, const QString& course) {
        const QString id = server->uploadDocument(token, text, filename, "text/plain", course);
        server->waitForProcessing(id, token);
        return id;
    }

    TestServer::Reply useSong(const QString& userRewardId, const QJsonObject& fields = {}) {
        QJsonObject body{{"user_id", device.userId}, {"user_reward_id", userRewardId}};
        for (auto it = fields.begin(); it != fields.end(); ++it)
            body.insert(it.key(), it.value());
        return server->api("POST", "/api/gamification/rewards/use/song-from-notes", token, body);
    }

    // Follows the queued answer as the app does; the finished job's record.
    QJsonObject followed(const TestServer::Reply& reply) {
        const auto answer = json::decode<InlineOrEnqueued<SongGenerationResult>>(reply.body);
        if (!answer.job()) {
            QTest::qFail(reply.body.constData(), __FILE__, __LINE__);
            return {};
        }
        return server->waitForJob(answer.job()->jobId, token);
    }

    UserRewardItem ownedReward(const QString& userRewardId) {
        for (const UserRewardItem& item : json::decode<QList<UserRewardItem>>(
                 server->api("GET", "/api/gamification/rewards/" + device.userId + "/purchased", token).body))
            if (item.userRewardId == userRewardId)
                return item;
        return {};
    }

    // A finished song from fresh notes; its SongGenerationResult.
    SongGenerationResult madeSong() {
        grant(150);
        const QString reward = buy("study_song");
        const QString document = upload(cellNotes, "respiration.txt", courseId);
        const QJsonObject job = followed(useSong(reward, {{"document_id", document}}));
        return json::fromValue<SongGenerationResult>(job.value("result"));
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        composer = std::make_unique<FakeComposer>();
        server->server().songs().setComposer(composer->function());
        device = server->signUp("singer@example.com", "la-la-la-la-1");
        token = server->sessionToken(device);
        courseId = server->addCourse(token, "BIO 110");
        QVERIFY(!courseId.isEmpty());
    }
    void cleanup() {
        composer->mode = FakeComposer::Mode::succeed;
        composer->release.release(); // a held job must not outlive the test
        server.reset();
        composer.reset();
    }

    void aReadySongSpendsItsUseOnce() {
        grant(150);
        const QString reward = buy("study_song");
        const QString document = upload(cellNotes, "respiration.txt", courseId);
        const TestServer::Reply reply =
            useSong(reward, {{"document_id", document}, {"genre", "rock"}, {"style", "mitochondria, ATP"}});
        QCOMPARE(reply.status, 200);
        const QJsonObject job = followed(reply);
        // The finished job as the app's status poll decodes it.
        const auto status = json::fromValue<GenerationJobStatusResponse<SongGenerationResult>>(job);
        QCOMPARE(status.status, GenerationJobStatus::complete);
        QCOMPARE(status.jobType, "song");
        QVERIFY(status.result);
        const SongGenerationResult song = *status.result;
        QCOMPARE(song.success, true);
        QCOMPARE(song.taskId, job.value("job_id").toString());
        QCOMPARE(song.genre, "rock");
        QCOMPARE(song.lyrics, "[Verse]\nMitochondria make ATP\n");
        QVERIFY(song.audioUrl && song.audioUrl->contains("/api/media/songs/" + *song.songId + ".ogg?sig="));
        {
            std::lock_guard guard(composer->lock);
            QCOMPARE(composer->last.genre, "rock");
            QCOMPARE(composer->last.keyIdeas, (QStringList{"mitochondria", "ATP"}));
            QVERIFY(composer->last.text.contains("Glycolysis is the first stage"));
        }

        const UserRewardItem used = ownedReward(reward);
        QCOMPARE(used.usageCount, 1);
        QCOMPARE(used.remainingUses, 0);
        QCOMPARE(used.fulfillmentStatus, "fulfilled");
        QCOMPARE(used.isActive, false);
        QVERIFY(used.fulfillmentData);
        const RewardFulfillmentData& data = *used.fulfillmentData;
        QCOMPARE(data.audioUrl, song.audioUrl);
        QCOMPARE(data.lyrics, song.lyrics);
        QCOMPARE(data.songId, song.songId);
        QCOMPARE(data.genre, "rock");
        QCOMPARE(data.style, "mitochondria, ATP");
        QCOMPARE(data.documentId, document);
        QCOMPARE(data.courseName, "BIO 110");
        QCOMPARE(data.trackNumber, 1);
        QVERIFY(data.title && !data.title->isEmpty());

        const TestServer::Reply again = useSong(reward, {{"document_id", document}});
        QCOMPARE(again.status, 409);
        QCOMPARE(again.json()["detail"].toString(), "Study Song has no uses left.");
        // Used up is said first, whatever else is wrong with the request.
        QCOMPARE(useSong(reward, {{"course_id", "course_nobody"}}).json()["detail"].toString(),
                 "Study Song has no uses left.");
        QCOMPARE(composer->calls.load(), 1);
    }

    void aFailedSongKeepsTheUse() {
        grant(150);
        const QString reward = buy("study_song");
        const QString document = upload(cellNotes, "respiration.txt", courseId);
        composer->mode = FakeComposer::Mode::fail;
        const QJsonObject failed = followed(useSong(reward, {{"document_id", document}}));
        QCOMPARE(failed.value("status").toString(), "failed");
        QCOMPARE(failed.value("error").toString(),
                 "The song could not be composed: The melody could not be fitted.");
        UserRewardItem item = ownedReward(reward);
        QCOMPARE(item.usageCount, 0);
        QCOMPARE(item.remainingUses, 1);
        QCOMPARE(item.fulfillmentStatus, "available");
        QVERIFY(!item.fulfillmentData);

        composer->mode = FakeComposer::Mode::succeed;
        QCOMPARE(followed(useSong(reward, {{"document_id", document}})).value("status").toString(),
                 "complete");
        item = ownedReward(reward);
        QCOMPARE(item.usageCount, 1);
        QCOMPARE(item.fulfillmentData->trackNumber, 1); // the failed attempt is no track
    }

    void aComposingSongHoldsItsUse() {
        grant(150);
        const QString reward = buy("study_song");
        const QString document = upload(cellNotes, "respiration.txt", courseId);
        composer->mode = FakeComposer::Mode::hold;
        const TestServer::Reply first = useSong(reward, {{"document_id", document}});
        QCOMPARE(first.status, 200);
        QCOMPARE(useSong(reward, {{"document_id", document}}).status, 409);
        const UserRewardItem composing = ownedReward(reward);
        QCOMPARE(composing.usageCount, 0);
        QCOMPARE(composing.remainingUses, 0);
        QVERIFY(composing.fulfillmentData && composing.fulfillmentData->songId);
        QVERIFY(!composing.fulfillmentData->audioUrl); // not ready yet

        composer->release.release();
        QCOMPARE(followed(first).value("status").toString(), "complete");
        QCOMPARE(ownedReward(reward).usageCount, 1);
        QCOMPARE(composer->calls.load(), 1);
    }

    void theDocumentIsChosenWhenNoneIsGiven() {
        grant(400);
        const QString reward = buy("study_song");
        const QString otherCourse = server->addCourse(token, "CHEM 101");
        const QString longer = upload(cellNotes, "respiration.txt", otherCourse);
        const QString shorter = upload(shortNotes, "osmosis.txt", courseId);
        // The course's own notes, though another course has longer ones.
        QCOMPARE(followed(useSong(reward, {{"course_id", courseId}, {"document_id", ""}}))
                     .value("status")
                     .toString(),
                 "complete");
        QCOMPARE(ownedReward(reward).fulfillmentData->documentId, shorter);
        QCOMPARE(ownedReward(reward).fulfillmentData->courseName, "BIO 110");
        // Across all courses: the longest notes.
        const QString second = buy("study_song");
        QCOMPARE(followed(useSong(second)).value("status").toString(), "complete");
        QCOMPARE(ownedReward(second).fulfillmentData->documentId, longer);
        QCOMPARE(ownedReward(second).fulfillmentData->courseName, "CHEM 101");
    }

    void songRequestsAreRefusedWithAReason() {
        grant(210);
        const QString reward = buy("study_song");
        const QString mnemonicReward = buy("mnemonic_maker");
        const auto refusal = [this](const QJsonObject& body, int status) {
            QJsonObject request{{"user_id", device.userId}};
            for (auto it = body.begin(); it != body.end(); ++it)
                request.insert(it.key(), it.value());
            const TestServer::Reply reply =
                server->api("POST", "/api/gamification/rewards/use/song-from-notes", token, request);
            if (reply.status != status)
                qWarning() << reply.status << reply.body;
            return reply.status == status ? reply.json()["detail"].toString() : QString();
        };
        // Nothing to sing yet.
        QCOMPARE(refusal({{"user_reward_id", reward}}, 422),
                 "No processed documents to make a song from. Upload a document in the Library tab first.");
        const QString document = upload(cellNotes, "respiration.txt", {});
        QVERIFY(!refusal({{"user_id", "user_other"}, {"user_reward_id", reward}}, 403).isEmpty());
        QCOMPARE(refusal({{"user_reward_id", "urw_nobody"}}, 404), "No such reward.");
        QCOMPARE(refusal({{"user_reward_id", mnemonicReward}}, 422), "Mnemonic Maker doesn't make songs.");
        QVERIFY(refusal({{"user_reward_id", reward}, {"genre", "polka"}}, 422).startsWith("genre must be"));
        QCOMPARE(refusal({{"user_reward_id", reward}, {"course_id", "course_nobody"}}, 404),
                 "No such course.");
        QCOMPARE(refusal({{"user_reward_id", reward}, {"document_id", "doc_nobody"}}, 404),
                 "No such document.");
        QCOMPARE(refusal({{"user_reward_id", reward}, {"course_id", courseId}}, 422),
                 "No processed documents in this course. Pick a different course or upload one.");
        server->server().songs().setComposer({});
        QCOMPARE(refusal({{"user_reward_id", reward}, {"document_id", document}}, 503),
                 "Study songs can't be made on this server.");
        // Another user cannot spend this reward.
        const TestServer::Device other = server->signUp("other@example.com", "la-la-la-la-2");
        const TestServer::Reply stolen =
            server->api("POST", "/api/gamification/rewards/use/song-from-notes", server->sessionToken(other),
                        {{"user_id", other.userId}, {"user_reward_id", reward}});
        QCOMPARE(stolen.status, 404);
        QCOMPARE(composer->calls.load(), 0);
        QCOMPARE(ownedReward(reward).remainingUses, 1);
    }

    void theTrackIsServedWithRangesToItsOwner() {
        const SongGenerationResult song = madeSong();
        QVERIFY(song.audioUrl);
        const QString url = *song.audioUrl;
        const QByteArray audio = FakeComposer::audio();

        const TestServer::Reply whole = server->send("GET", url);
        QCOMPARE(whole.status, 200);
        QCOMPARE(whole.body, audio);
        QCOMPARE(whole.header("Content-Type"), "audio/ogg");
        QCOMPARE(whole.header("Accept-Ranges"), "bytes");

        const auto ranged = [&](const QByteArray& range) {
            return server->send("GET", url, {}, {{"Range", range}});
        };
        const TestServer::Reply first = ranged("bytes=0-9");
        QCOMPARE(first.status, 206);
        QCOMPARE(first.body, audio.left(10));
        QCOMPARE(first.header("Content-Range"), "bytes 0-9/1000");
        const TestServer::Reply middle = ranged("bytes=500-509");
        QCOMPARE(middle.status, 206);
        QCOMPARE(middle.body, audio.mid(500, 10));
        QCOMPARE(middle.header("Content-Range"), "bytes 500-509/1000");
        const TestServer::Reply suffix = ranged("bytes=-16");
        QCOMPARE(suffix.status, 206);
        QCOMPARE(suffix.body, audio.right(16));
        QCOMPARE(suffix.header("Content-Range"), "bytes 984-999/1000");
        const TestServer::Reply past = ranged("bytes=1000-");
        QCOMPARE(past.status, 416);
        QCOMPARE(past.header("Content-Range"), "bytes */1000");

        // Only its owner: the signature is required and tied to the song, and another signed-in
        // user is refused even with it.
        QCOMPARE(server->send("GET", url.left(url.indexOf("?sig="))).status, 404);
        QCOMPARE(server->send("GET", url.chopped(1) + (url.endsWith('0') ? "1" : "0")).status, 404);
        const TestServer::Device other = server->signUp("other@example.com", "la-la-la-la-2");
        QCOMPARE(
            server
                ->send("GET", url, {}, {{"Authorization", "Bearer " + server->sessionToken(other).toUtf8()}})
                .status,
            404);
        QCOMPARE(server->send("GET", url, {}, {{"Authorization", "Bearer " + token.toUtf8()}}).status, 200);
    }

    void aStoredMnemonicFulfilsAMnemonicReward() {
        grant(60);
        const QString reward = buy("mnemonic_maker");
        const QJsonObject ideas{
            {"mnemonic_type", "acronym"},
            {"difficulty", "easy"},
            {"key_ideas", "Mitochondria: make energy\nATP: carries energy\nGlucose: the fuel"}};
        QJsonObject unstored = ideas;
        unstored.insert("store", false);
        QCOMPARE(server->api("POST", "/api/v1/learning-content/mnemonic", token, unstored).status, 200);
        QCOMPARE(ownedReward(reward).usageCount, 0);

        QJsonObject stored = ideas;
        stored.insert("store", true);
        const TestServer::Reply made =
            server->api("POST", "/api/v1/learning-content/mnemonic", token, stored);
        QCOMPARE(made.status, 200);
        const UserRewardItem item = ownedReward(reward);
        QCOMPARE(item.usageCount, 1);
        QCOMPARE(item.remainingUses, 2);
        QCOMPARE(item.fulfillmentStatus, "used");
        QVERIFY(item.fulfillmentData);
        QCOMPARE(item.fulfillmentData->mnemonic, made.json()["mnemonic"].toString());
        QCOMPARE(item.fulfillmentData->mnemonicType, "acronym");
    }
};

QTEST_MAIN(StudySongTest)
#include "StudySongTest.moc"
