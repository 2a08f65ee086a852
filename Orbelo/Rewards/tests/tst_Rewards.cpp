#include <QtTest>

#include "Appearance.h"

#include "Common/AppContext.h"
#include "Media/MediaSongPlayback.h"
#include "Rewards/RewardButtonState.h"
#include "Rewards/RewardCardText.h"
#include "Rewards/RewardEffectText.h"
#include "Rewards/RewardSongPlayer.h"
#include "Rewards/RewardsModel.h"
#include "Rewards/SongGenerationModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;

namespace {

RewardCatalogItem item(int cost, std::optional<int> level = std::nullopt, const char* status = "active") {
    RewardCatalogItem i;
    i.rewardId = QStringLiteral("r1");
    i.name = QStringLiteral("Study Song");
    i.creditCost = cost;
    i.requiresLevel = level;
    i.status = QString::fromLatin1(status);
    return i;
}

const QByteArray catalogJson =
    R"([{"reward_id":"song","name":"Study Song","category":"study_tools","reward_type":"song_from_notes",)"
    R"("credit_cost":100,"usage_limit":1,"original_price_usd":4.99,"status":"active"},)"
    R"({"reward_id":"theme","name":"Dark Theme","category":"personalization","reward_type":"theme",)"
    R"("credit_cost":50,"duration_days":30,"status":"coming_soon"},)"
    R"({"reward_id":"tutor","name":"Tutor Hour","category":"premium_experiences","reward_type":"tutor",)"
    R"("credit_cost":10,"requires_level":5,"status":"active"}])";

const QByteArray ownedSong =
    R"([{"user_reward_id":"ur1","user_id":"u1","reward_id":"song","reward_name":"Study Song",)"
    R"("reward_type":"song_from_notes","usage_count":0,"usage_limit":1,"remaining_uses":1,)"
    R"("fulfillment_status":"available"}])";

// A backend for the Rewards screen: balance 250 at level 3, the catalogue above, and the owned
// list, which the test may change.
struct RewardsBackend {
    ScriptedHttpServer server;
    QByteArray owned = "[]";
    qint64 balance = 250;
    QByteArray bootstrap; // empty: not answered
    ScriptedResponse lyrics = ScriptedResponse::json(
        200, R"({"success":true,"user_reward_id":"l1","document_id":"d1","lyrics":"[Chorus]\nATP"})");

    RewardsBackend() {
        server.setHandler([this](const RecordedRequest& r) {
            if (r.path == "/api/gamification/credits/u1")
                return ScriptedResponse::json(
                    200, QByteArray(R"({"bronze_credits":0,"silver_credits":0,"gold_credits":0,)"
                                    R"("platinum_credits":0,"lifetime_earned":0,"lifetime_spent":0,)"
                                    R"("total_points":)") +
                             QByteArray::number(balance) + "}");
            if (r.path == "/api/gamification/level/u1")
                return ScriptedResponse::json(200,
                                              R"({"current_level":3,"level_name":"Scholar","current_xp":10,)"
                                              R"("total_xp":300,"xp_to_next_level":90})");
            if (r.path == "/api/gamification/rewards/catalog")
                return ScriptedResponse::json(200, catalogJson);
            if (r.path == "/api/gamification/rewards/u1/purchased")
                return ScriptedResponse::json(200, owned);
            if (r.path == "/api/bootstrap" && !bootstrap.isEmpty())
                return ScriptedResponse::json(200, bootstrap);
            if (r.path == "/api/gamification/rewards/use/lyrics-from-notes")
                return lyrics;
            return ScriptedResponse::json(404, R"({"detail":"unscripted"})");
        });
    }

    int count(const QByteArray& method, const QByteArray& path) const {
        return int(
            std::count_if(server.requests().cbegin(), server.requests().cend(),
                          [&](const RecordedRequest& r) { return r.method == method && r.path == path; }));
    }
};

QVariantMap card(const QVariantList& cards, const QString& key, const QString& id) {
    for (const QVariant& c : cards)
        if (c.toMap().value(key) == id)
            return c.toMap();
    return {};
}

// A mono 16-bit WAV of `milliseconds` of silence at 8 kHz.
QByteArray silentWav(int milliseconds) {
    const quint32 dataSize = quint32(milliseconds) * 8 * 2;
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    return wav + QByteArray(int(dataSize), '\0');
}

QJsonObject bodyOf(const RecordedRequest& request) {
    return QJsonDocument::fromJson(request.body).object();
}

// Stands in for the media player: records what it is told and reports what the test says.
class FakePlayback : public SongPlayback {
public:
    void load(const QByteArray& audio) override {
        loaded = audio;
        if (refuse)
            Q_EMIT failed("unreadable");
    }
    void play() override { playing = true; }
    void pause() override { playing = false; }
    void seek(qint64 position) override { seeks << position; }
    void clear() override {
        loaded.clear();
        playing = false;
    }
    QByteArray loaded;
    bool playing = false;
    QList<qint64> seeks;
    bool refuse = false;
};

} // namespace

class RewardsTest : public QObject {
    Q_OBJECT
    RewardsModel::UserIdSource signedIn = [] { return std::optional<QString>(QStringLiteral("u1")); };

private Q_SLOTS:
    // First match wins: coming soon, being bought, the level gate, then the credit gate.
    void buttonRule() {
        using S = RewardButtonState;
        QCOMPARE(S::forItem(item(10, 1, "coming_soon"), 0, 0, true), (S{"Coming soon", false, {}}));
        QCOMPARE(S::forItem(item(100, 9), 0, 1, true), (S{"Purchasing…", false, {}}));
        QCOMPARE(S::forItem(item(100, 4), 500, 3, false), (S{"Reach Level 4 to unlock", false, {}}));
        QCOMPARE(S::forItem(item(100, 3), 40, 3, false), (S{"Need 60 more credits to unlock", false, {}}));
        QCOMPARE(S::forItem(item(100), 100, 0, false),
                 (S{"Purchase", true, "Purchases this reward for 100 credits."}));
    }

    // The card lines in order, the price rounded, and the singular forms.
    void cardTexts() {
        RewardCatalogItem full = item(120, 2);
        full.usageLimit = 1;
        full.durationDays = 7;
        full.originalPriceUsd = 4.4;
        QCOMPARE(RewardCardText::catalogLines(full),
                 QStringList({"120 credits", "Level 2", "1 use", "Lasts 7 days", "$4 value"}));
        full.usageLimit = 3;
        full.originalPriceUsd = 9.99;
        QCOMPARE(RewardCardText::catalogLines(full).mid(2, 1), QStringList{"3 uses"});
        QCOMPARE(RewardCardText::catalogLines(full).last(), QStringLiteral("$10 value"));

        UserRewardItem owned;
        owned.remainingUses = 1;
        QCOMPARE(RewardCardText::usesLeft(owned), QStringLiteral("1 use left"));
        owned.remainingUses = 2;
        QCOMPARE(RewardCardText::usesLeft(owned), QStringLiteral("2 uses left"));
        // Without a remaining count it follows from the limit and the uses so far.
        owned.remainingUses.reset();
        owned.usageLimit = 3;
        owned.usageCount = 2;
        QCOMPARE(RewardCardText::usesLeft(owned), QStringLiteral("1 use left"));
        owned.usageLimit.reset();
        QCOMPARE(RewardCardText::usesLeft(owned), QString());
    }

    // Loading fills the header and the cards; the category filter narrows them; a later failure
    // keeps what was shown; without a user nothing is asked.
    void loadingAndFiltering() {
        RewardsBackend backend;
        RewardsModel model(scriptedClient(backend.server), signedIn);
        model.load();
        QVERIFY(model.isLoading());
        QTRY_VERIFY(model.hasLoaded());
        QCOMPARE(model.levelText(), QStringLiteral("Level 3"));
        QCOMPARE(model.creditsText(), QStringLiteral("250 credits"));
        QCOMPARE(model.catalog().size(), 3);
        QCOMPARE(card(model.catalog(), "rewardId", "song").value("buttonLabel"), QStringLiteral("Purchase"));
        QCOMPARE(card(model.catalog(), "rewardId", "theme").value("buttonLabel"),
                 QStringLiteral("Coming soon"));
        QCOMPARE(card(model.catalog(), "rewardId", "tutor").value("buttonLabel"),
                 QStringLiteral("Reach Level 5 to unlock"));
        QCOMPARE(model.categories(),
                 QStringList({"All", "Study tools", "Power-ups", "Personalization", "Premium"}));
        model.setCategoryIndex(3);
        QCOMPARE(model.catalog().size(), 1);
        QCOMPARE(model.catalog().at(0).toMap().value("name"), QStringLiteral("Dark Theme"));
        model.setCategoryIndex(2);
        QVERIFY(model.catalog().isEmpty());

        backend.server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(404, "{}"); });
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.errorMessage(), RewardsModel::loadFailedText);
        QCOMPARE(model.creditsText(), QStringLiteral("250 credits"));

        RewardsBackend other;
        RewardsModel signedOut(scriptedClient(other.server), [] { return std::optional<QString>(); });
        signedOut.load();
        QCOMPARE(signedOut.errorMessage(), QStringLiteral("Sign in to view your rewards."));
        QCOMPARE(other.server.requestCount(), 0);

        // A balance past 32 bits reads and shows exactly.
        RewardsBackend rich;
        rich.balance = 3'000'000'000;
        RewardsModel wealthy(scriptedClient(rich.server), signedIn);
        wealthy.load();
        QTRY_VERIFY(wealthy.hasLoaded());
        QCOMPARE(wealthy.creditsText(), QStringLiteral("3000000000 credits"));
    }

    // A purchase marks the card, sends one request however often it is asked, then updates the
    // balance and the owned list and celebrates; the toast goes after a while. A refusal only
    // says so.
    void purchasing() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        RewardsBackend backend;
        RewardsModel model(scriptedClient(backend.server), signedIn);
        model.load();
        QTRY_VERIFY(model.hasLoaded());
        QSignalSpy celebrated(&model, &RewardsModel::celebrate);

        backend.server.enqueue(
            ScriptedResponse::held(ScriptedResponse::json(200, R"({"success":true,"user_reward_id":"ur1",)"
                                                               R"("credits_remaining":150})")));
        backend.owned = ownedSong;
        model.purchase("song");
        model.purchase("song");
        QCOMPARE(card(model.catalog(), "rewardId", "song").value("buttonLabel"),
                 QStringLiteral("Purchasing…"));
        QTRY_COMPARE(backend.server.heldCount(), 1);
        const RecordedRequest& sent = backend.server.requests().last();
        QCOMPARE(sent.path, QByteArray("/api/gamification/rewards/purchase"));
        QCOMPARE(bodyOf(sent), (QJsonObject{{"user_id", "u1"}, {"reward_id", "song"}}));
        backend.server.releaseHeld();
        QTRY_COMPARE(model.owned().size(), 1);
        QCOMPARE(backend.count("POST", "/api/gamification/rewards/purchase"), 1);
        QCOMPARE(model.creditsText(), QStringLiteral("150 credits"));
        QCOMPARE(model.toast(), QStringLiteral("Purchased Study Song"));
        QCOMPARE(celebrated.size(), 1);
        QVERIFY(model.purchasingId().isEmpty());
        QCOMPARE(card(model.catalog(), "rewardId", "song").value("buttonLabel"), QStringLiteral("Purchase"));
        clock.advance(RewardsModel::toastDuration);
        QVERIFY(model.toast().isEmpty());

        backend.server.enqueue(ScriptedResponse::json(402, R"({"detail":"Not enough credits"})"));
        model.purchase("song");
        QTRY_VERIFY(!model.errorMessage().isEmpty());
        QVERIFY(model.errorMessage().startsWith("Purchase failed: Request failed (402)."));
        QCOMPARE(model.creditsText(), QStringLiteral("150 credits"));
        QCOMPARE(celebrated.size(), 1);
        QVERIFY(model.purchasingId().isEmpty());
    }

    // Each kind of owned reward offers its own texts and actions.
    void ownedCards() {
        RewardsBackend backend;
        backend.owned =
            R"([{"user_reward_id":"s1","user_id":"u1","reward_id":"song","reward_type":"song_from_notes",)"
            R"("usage_count":0,"remaining_uses":2,"fulfillment_status":"available"},)"
            R"({"user_reward_id":"s2","user_id":"u1","reward_id":"song","reward_type":"song_from_notes",)"
            R"("usage_count":1,"remaining_uses":0,"fulfillment_status":"used","fulfillment_data":{"song_id":"x"}},)"
            R"({"user_reward_id":"s3","user_id":"u1","reward_id":"song","reward_type":"song_from_notes",)"
            R"("usage_count":1,"fulfillment_status":"fulfilled","fulfillment_data":{"song_id":"y",)"
            R"("audio_url":"http://h/a.ogg","title":"Cells","lyrics":"[Verse]\nATP"}},)"
            R"({"user_reward_id":"l1","user_id":"u1","reward_id":"ly","reward_type":"lyrics_from_notes",)"
            R"("usage_count":0,"fulfillment_status":"available"},)"
            R"({"user_reward_id":"m1","user_id":"u1","reward_id":"mn","reward_type":"mnemonic_from_notes",)"
            R"("usage_count":1,"fulfillment_status":"fulfilled","fulfillment_data":{"mnemonic":"KPCOFGS"}},)"
            R"({"user_reward_id":"b1","user_id":"u1","reward_id":"badge","reward_type":"badge",)"
            R"("usage_count":0,"fulfillment_status":"available"}])";
        RewardsModel model(scriptedClient(backend.server), signedIn);
        model.load();
        QTRY_COMPARE(model.owned().size(), 6);
        const QVariantList owned = model.owned();
        const QVariantMap fresh = card(owned, "userRewardId", "s1");
        QCOMPARE(fresh.value("kindLabel"), QStringLiteral("Song reward"));
        QCOMPARE(fresh.value("status"), QStringLiteral("Available"));
        QCOMPARE(fresh.value("usesLeft"), QStringLiteral("2 uses left"));
        QVERIFY(fresh.value("canGenerate").toBool());
        const QVariantMap composing = card(owned, "userRewardId", "s2");
        QCOMPARE(composing.value("note"), QStringLiteral("Generating audio… check back in a minute."));
        QVERIFY(!composing.value("canGenerate").toBool());
        const QVariantMap done = card(owned, "userRewardId", "s3");
        QCOMPARE(done.value("audioUrl"), QStringLiteral("http://h/a.ogg"));
        QCOMPARE(done.value("title"), QStringLiteral("Cells"));
        QCOMPARE(done.value("status"), QStringLiteral("Fulfilled"));
        QVERIFY(done.value("note").toString().isEmpty());
        QCOMPARE(card(owned, "userRewardId", "l1").value("note"),
                 QStringLiteral("Pick a document and choose Write Lyrics."));
        QVERIFY(card(owned, "userRewardId", "l1").value("canWriteLyrics").toBool());
        QVERIFY(!card(owned, "userRewardId", "s1").value("canWriteLyrics").toBool());
        // The documents could not be read: the rest of the screen is there all the same.
        QVERIFY(model.documents().isEmpty());
        QVERIFY(model.errorMessage().isEmpty());
        QCOMPARE(card(owned, "userRewardId", "m1").value("mnemonic"), QStringLiteral("KPCOFGS"));
        QCOMPARE(card(owned, "userRewardId", "b1").value("note"),
                 QStringLiteral("Shown beside your name in the account menu and the progress header."));
        QCOMPARE(card(owned, "userRewardId", "b1").value("kindLabel"), QStringLiteral("Reward"));
    }

    // A lyrics reward not yet used: its documents to choose from, "Write Lyrics" sends the chosen
    // one, and the owned list comes again with the lyrics; a refusal is said.
    void writingLyrics() {
        RewardsBackend backend;
        backend.owned =
            R"([{"user_reward_id":"l1","user_id":"u1","reward_id":"study_lyrics",)"
            R"("reward_type":"lyrics_from_notes","usage_count":0,"fulfillment_status":"available"}])";
        backend.bootstrap = R"({"courses":[],"documents":[{"id":"d1","title":"Cells","status":"ready"},)"
                            R"({"id":"d2","title":"Draft","status":"processing"}]})";
        RewardsModel model(scriptedClient(backend.server), signedIn);
        model.load();
        QTRY_VERIFY(model.hasLoaded());
        QCOMPARE(model.documents(), (QVariantList{QVariantMap{{"id", "d1"}, {"title", "Cells"}}}));

        backend.owned =
            R"([{"user_reward_id":"l1","user_id":"u1","reward_id":"study_lyrics",)"
            R"("reward_type":"lyrics_from_notes","usage_count":1,"fulfillment_status":"fulfilled",)"
            R"("fulfillment_data":{"lyrics":"[Chorus]\nATP"}}])";
        model.writeLyrics("l1", "d1");
        QCOMPARE(model.writingLyricsId(), QStringLiteral("l1"));
        model.writeLyrics("l1", "d1"); // one request however often asked
        QTRY_COMPARE(card(model.owned(), "userRewardId", "l1").value("lyrics"),
                     QStringLiteral("[Chorus]\nATP"));
        QVERIFY(model.writingLyricsId().isEmpty());
        QCOMPARE(backend.count("POST", "/api/gamification/rewards/use/lyrics-from-notes"), 1);
        const auto sent = std::find_if(backend.server.requests().cbegin(), backend.server.requests().cend(),
                                       [](const RecordedRequest& r) { return r.method == "POST"; });
        QCOMPARE(QJsonDocument::fromJson(sent->body).object(),
                 (QJsonObject{{"user_id", "u1"}, {"user_reward_id", "l1"}, {"document_id", "d1"}}));
        QVERIFY(!card(model.owned(), "userRewardId", "l1").value("canWriteLyrics").toBool());

        backend.lyrics = ScriptedResponse::json(409, R"({"detail":"Study Lyrics has no uses left."})");
        model.writeLyrics("l1", "d1");
        QTRY_VERIFY(model.writingLyricsId().isEmpty());
        QVERIFY(model.errorMessage().startsWith("Couldn't write lyrics: "));
        QVERIFY(model.errorMessage().contains("Study Lyrics has no uses left."));
    }

    // The header names a Double XP Day and a Premium Week while each is on, up to the minute it ends.
    void boostsInTheHeader() {
        qputenv("TZ", "UTC");
        async::VirtualClock clock(QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC));
        async::ScopedClock useClock(clock);
        RewardsBackend backend;
        backend.owned =
            R"([{"user_reward_id":"x1","user_id":"u1","reward_id":"double_xp_day","reward_type":"xp_boost",)"
            R"("usage_count":1,"usage_limit":1,"is_active":true,"fulfillment_status":"fulfilled",)"
            R"("expires_at":"2026-03-02T14:05:00.000Z"},)"
            R"({"user_reward_id":"p1","user_id":"u1","reward_id":"premium_week","reward_type":"premium_trial",)"
            R"("usage_count":1,"usage_limit":1,"is_active":true,"fulfillment_status":"fulfilled",)"
            R"("expires_at":"2026-03-03T09:30:00.000Z"}])";
        RewardsModel model(scriptedClient(backend.server), signedIn);
        model.load();
        QTRY_VERIFY(model.hasLoaded());
        QCOMPARE(model.boostText(), QStringLiteral("Double XP until 14:05"));
        QCOMPARE(model.premiumText(), QStringLiteral("Premium Week until Tue 09:30"));
        QCOMPARE(card(model.owned(), "userRewardId", "x1").value("note"),
                 QStringLiteral("Every quiz earns double XP until 14:05."));
        clock.advance(std::chrono::minutes(5 * 60 + 4) + 59s);
        QCOMPARE(model.boostText(), QStringLiteral("Double XP until 14:05"));
        clock.advance(1s);
        QCOMPARE(model.boostText(), QString());
        QCOMPARE(card(model.owned(), "userRewardId", "x1").value("note"), QStringLiteral("Ended."));
        QCOMPARE(model.premiumText(), QStringLiteral("Premium Week until Tue 09:30"));
        clock.advance(std::chrono::hours(19) + std::chrono::minutes(25));
        QCOMPARE(model.premiumText(), QString());
    }

    void streakFreezeCards() {
        const QDateTime now(QDate(2026, 3, 5), QTime(12, 0), Qt::UTC);
        UserRewardItem freeze;
        freeze.rewardType = QStringLiteral("streak_freeze");
        QCOMPARE(
            RewardEffectText::cardNote(freeze, now),
            QStringLiteral("Keeps your streak through one missed day. It is used on its own when you miss "
                           "a day."));
        freeze.usageCount = 1;
        freeze.fulfillmentData = RewardFulfillmentData{};
        freeze.fulfillmentData->coveredDay = QStringLiteral("2026-03-03");
        QCOMPARE(RewardEffectText::cardNote(freeze, now),
                 QStringLiteral("Kept your streak through Tuesday, March 3."));
        UserRewardItem theme;
        theme.rewardType = QStringLiteral("theme");
        QCOMPARE(RewardEffectText::cardNote(theme, now),
                 QStringLiteral("Choose Night Owl under Appearance in Settings to wear it."));
    }

    // Night Owl and the tutor session say how to use them; owning the theme reaches Appearance.
    void themeAndTutorCards() {
        Appearance appearance(nullptr);
        RewardsBackend backend;
        backend.owned =
            R"([{"user_reward_id":"t1","user_id":"u1","reward_id":"night_owl_theme","reward_type":"theme",)"
            R"("usage_count":0,"is_active":true,"fulfillment_status":"available"},)"
            R"({"user_reward_id":"s1","user_id":"u1","reward_id":"tutor_session","reward_type":"tutor_session",)"
            R"("usage_count":0,"usage_limit":1,"remaining_uses":1,"fulfillment_status":"available"}])";
        RewardsModel model(scriptedClient(backend.server), signedIn);
        model.setAppearance(&appearance);
        model.load();
        QTRY_COMPARE(model.owned().size(), 2);
        const QVariantMap theme = card(model.owned(), "userRewardId", "t1");
        QCOMPARE(theme.value("rewardType"), QStringLiteral("theme"));
        QCOMPARE(theme.value("note"),
                 QStringLiteral("Choose Night Owl under Appearance in Settings to wear it."));
        QVERIFY(!theme.value("note").toString().contains("web app"));
        const QVariantMap tutor = card(model.owned(), "userRewardId", "s1");
        QCOMPARE(tutor.value("note"),
                 QStringLiteral("Pick a course and Orbelo runs a 30-minute session from its material: "
                                "reading-guide questions, your due cards and a short quiz."));
        QCOMPARE(tutor.value("usesLeft"), QStringLiteral("1 use left"));
        QVERIFY(appearance.nightOwlOwned());
        UserRewardItem other;
        other.rewardType = QStringLiteral("gift_card");
        QVERIFY(RewardEffectText::cardNote(other, QDateTime::currentDateTimeUtc()).isEmpty());
    }

    // Blank key ideas send no style, the automatic document no document id, all courses no course.
    void songRequestBodies() {
        const auto json = [](const UseSongRewardRequest& r) {
            return QJsonDocument::fromJson(json::encode(r)).object();
        };
        QCOMPARE(json(SongGenerationModel::request("u1", "ur1", {}, {}, "rock", " \n\t")),
                 (QJsonObject{{"user_id", "u1"}, {"user_reward_id", "ur1"}, {"genre", "rock"}}));
        QCOMPARE(
            json(SongGenerationModel::request("u1", "ur1", "d1", "c1", "lo-fi", "\n ATP, mitochondria \n")),
            (QJsonObject{{"user_id", "u1"},
                         {"user_reward_id", "ur1"},
                         {"document_id", "d1"},
                         {"course_id", "c1"},
                         {"genre", "lo-fi"},
                         {"style", "ATP, mitochondria"}}));
    }

    // The sheet loads the documents, narrows them by course, and sends its choices; "Composing…"
    // while it runs, the lyrics after; a failure keeps the sheet's inputs.
    void songSheet() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(
            200,
            R"({"courses":[{"course_id":"c1","course_name":"Biology"},{"course_id":"c2","course_name":"Art"}],)"
            R"("documents":[{"document_id":"d1","title":"Cells","course_id":"c1"}]})"));
        SongGenerationModel model(scriptedClient(server), [] { return std::optional<QString>("u1"); });
        model.begin("ur1");
        QCOMPARE(model.documentsMessage(), QStringLiteral("Loading your documents…"));
        QVERIFY(!model.canGenerate());
        QTRY_VERIFY(model.canGenerate());
        QCOMPARE(model.documents().size(), 2);
        QCOMPARE(model.documents().at(0).toMap().value("label"), QStringLiteral("Any (auto-select)"));
        model.setDocumentId("d1");
        model.setCourseId("c2");
        QCOMPARE(model.documentId(), QString()); // d1 is not in Art
        QCOMPARE(model.documentsMessage(),
                 QStringLiteral("No documents in this course. Pick a different course or upload one."));
        model.setCourseId("c1");
        model.setDocumentId("d1");
        model.setGenre("country");

        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(
            200, R"({"success":true,"song_id":"s9","status":"composing","lyrics":"[Chorus]\nATP"})")));
        model.generate();
        QCOMPARE(model.generateLabel(), QStringLiteral("Composing…"));
        QTRY_COMPARE(server.heldCount(), 1);
        QCOMPARE(bodyOf(server.requests().last()), (QJsonObject{{"user_id", "u1"},
                                                                {"user_reward_id", "ur1"},
                                                                {"document_id", "d1"},
                                                                {"course_id", "c1"},
                                                                {"genre", "country"}}));
        server.releaseHeld();
        QTRY_VERIFY(model.succeeded());
        QCOMPARE(model.lyrics(), QStringLiteral("[Chorus]\nATP"));
        QCOMPARE(model.generateLabel(), QStringLiteral("Generate Song"));

        server.enqueue(ScriptedResponse::json(200, R"({"courses":[],"documents":[]})"));
        model.begin("ur1");
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.documentsMessage(),
                 QStringLiteral("No documents found. Upload a document in the Library tab first."));
        QVERIFY(!model.succeeded());
    }

    void songSheetFailure() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, R"({"courses":[],"documents":[{"document_id":"d1"}]})"));
        server.enqueue(ScriptedResponse::json(409, R"({"detail":"Reward already used"})"));
        SongGenerationModel model(scriptedClient(server), [] { return std::optional<QString>("u1"); });
        model.begin("ur1");
        QTRY_VERIFY(model.canGenerate());
        model.setKeyIdeas("osmosis");
        model.generate();
        QTRY_VERIFY(!model.errorMessage().isEmpty());
        QVERIFY(model.errorMessage().startsWith("Generation failed: Request failed (409)."));
        QCOMPARE(model.keyIdeas(), QStringLiteral("osmosis"));
        QVERIFY(model.canGenerate());
    }

    // The platform player takes a downloaded song and reads its length (no sound device needed).
    void mediaPlaybackReadsTheSong() {
        MediaSongPlayback playback;
        QSignalSpy durations(&playback, &SongPlayback::durationChanged);
        playback.load(silentWav(2'000));
        QTRY_VERIFY(!durations.isEmpty() && durations.last().at(0).toLongLong() > 0);
        QVERIFY(std::abs(durations.last().at(0).toLongLong() - 2'000) < 50);
    }

    void playerTimeText() {
        QCOMPARE(RewardSongPlayer::timeText(0), QStringLiteral("0:00"));
        QCOMPARE(RewardSongPlayer::timeText(65'999), QStringLiteral("1:05"));
        QCOMPARE(RewardSongPlayer::timeText(600'000), QStringLiteral("10:00"));
        QCOMPARE(RewardSongPlayer::timeText(-5), QStringLiteral("0:00"));
    }

    // The first play fetches the audio; time updates move the slider except while it is dragged;
    // the arrows step 5 s within the song; the end leaves it paused.
    void playerFollowsPlayback() {
        ScriptedHttpServer server;
        server.enqueue({200, {{"Content-Type", "audio/ogg"}}, "OggS-audio"});
        auto fake = std::make_unique<FakePlayback>();
        FakePlayback* playback = fake.get();
        RewardSongPlayer player([&fake] { return std::move(fake); }, QDBusConnection(QString()));
        player.setSource(server.baseUrl().toString() + "/media/u1/song.ogg");
        player.setTitle("Cells");
        QCOMPARE(player.playLabel(), QStringLiteral("Play song"));
        player.togglePlayback();
        QVERIFY(player.isLoading());
        QTRY_VERIFY(player.isPlaying());
        QCOMPARE(playback->loaded, QByteArray("OggS-audio"));
        QVERIFY(playback->playing);
        QCOMPARE(player.playLabel(), QStringLiteral("Pause song"));
        QCOMPARE(player.shortPlayLabel(), QStringLiteral("Pause"));

        Q_EMIT playback->durationChanged(185'000);
        Q_EMIT playback->positionChanged(42'000);
        QCOMPARE(player.spokenPosition(), QStringLiteral("0:42 of 3:05"));
        player.beginDrag();
        player.dragTo(90'000);
        Q_EMIT playback->positionChanged(43'000);
        QCOMPARE(player.positionText(), QStringLiteral("1:30"));
        player.endDrag(90'000);
        QCOMPARE(playback->seeks.last(), 90'000);
        Q_EMIT playback->positionChanged(91'000);
        QCOMPARE(player.position(), 91'000);

        player.step(+1);
        QCOMPARE(playback->seeks.last(), 96'000);
        Q_EMIT playback->positionChanged(183'000);
        player.step(+1);
        QCOMPARE(playback->seeks.last(), 185'000);
        player.step(-1);
        QCOMPARE(playback->seeks.last(), 180'000);

        Q_EMIT playback->ended();
        QVERIFY(!player.isPlaying());
        QCOMPARE(player.playLabel(), QStringLiteral("Play song"));
        // Playing again does not fetch again.
        player.play();
        QVERIFY(player.isPlaying());
        QCOMPARE(server.requestCount(), 1);
        player.stop();
        QVERIFY(!playback->playing);

        // Another song starts from its beginning, not where this one was.
        player.setSource(server.baseUrl().toString() + "/media/u1/other.ogg");
        QCOMPARE(player.position(), 0);
        QCOMPARE(player.spokenPosition(), QStringLiteral("0:00 of 0:00"));
    }

    // A missing or cut-off song shows the message; "Try again" fetches again.
    void playerFailures() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(404, R"({"detail":"Not found"})"));
        // Qt's network stack repeats a GET once when the connection closes before the answer.
        server.enqueue(ScriptedResponse::dropped());
        server.enqueue(ScriptedResponse::dropped());
        server.enqueue({200, {}, "RIFF-audio"});
        auto fake = std::make_unique<FakePlayback>();
        FakePlayback* playback = fake.get();
        RewardSongPlayer player([&fake] { return std::move(fake); }, QDBusConnection(QString()));
        player.setSource(server.baseUrl().toString() + "/media/u1/missing.ogg");
        player.play();
        QTRY_COMPARE(player.errorMessage(), RewardSongPlayer::loadFailedText);
        QVERIFY(!player.isPlaying());
        QVERIFY(!player.isLoading());
        player.retry();
        QVERIFY(player.errorMessage().isEmpty());
        QTRY_COMPARE(player.errorMessage(), RewardSongPlayer::loadFailedText);
        player.retry();
        QTRY_VERIFY(player.isPlaying());
        QCOMPARE(playback->loaded, QByteArray("RIFF-audio"));

        // The decoder gives up on what arrived.
        Q_EMIT playback->failed("not audio");
        QCOMPARE(player.errorMessage(), RewardSongPlayer::loadFailedText);
        QVERIFY(!player.isPlaying());

        // The playback refuses the download at once: no play starts.
        server.enqueue({200, {}, "garbage"});
        playback->refuse = true;
        player.retry();
        QTRY_COMPARE(player.errorMessage(), RewardSongPlayer::loadFailedText);
        QVERIFY(!player.isPlaying());
        QVERIFY(!playback->playing);
    }
};

QTEST_MAIN(RewardsTest)
#include "tst_Rewards.moc"
