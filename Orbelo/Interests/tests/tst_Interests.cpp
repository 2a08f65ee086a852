#include <QtTest>

#include "APIClient.h"
#include "InMemoryPreferences.h"
#include "Interests/InterestCatalog.h"
#include "Interests/InterestEditorModel.h"
#include "Interests/InterestSelectionStore.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "User/UserAPI.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QByteArray profileAnswer = R"({"user_id":"u1","interests":[]})";
// A profile filled during onboarding on another machine, with a category the app does not know.
const QByteArray profileWithInterests =
    R"({"user_id":"u1","background":"Night-shift nurse","interests":[)"
    R"({"category":"Pop Culture","items":["Formula 1"]},{"category":"Science","items":["Biology"]},)"
    R"({"category":"Sports","items":["Formula 1","Golf"]}]})";

QJsonObject bodyOf(const RecordedRequest& request) {
    return QJsonDocument::fromJson(request.body).object();
}

} // namespace

// The interest catalogue, the stored selection and the editor that saves it.
class InterestsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueHoldsEachNameOnce() {
        const QList<InterestCatalog::Category>& categories = InterestCatalog::all();
        QCOMPARE(categories.size(), 8);
        const QList<int> sizes{14, 14, 14, 12, 12, 12, 12, 12};
        for (int i = 0; i < categories.size(); ++i)
            QCOMPARE(categories[i].items.size(), sizes[i]);
        const InterestCatalog::Category& pop = categories[4];
        QCOMPARE(pop.name, QStringLiteral("Pop Culture"));
        QCOMPARE(pop.items.mid(4, 2), (QStringList{"Marvel", "TikTok"}));
        QCOMPARE(pop.items.mid(10, 2), (QStringList{"Formula 1", "Met Gala"}));
        // "Formula 1" is in Pop Culture and Sports but is one interest.
        QCOMPARE(InterestCatalog::allNames().size(), 101);
        QVERIFY(InterestCatalog::contains("Pokémon"));
        QVERIFY(!InterestCatalog::contains("pokemon"));
    }

    // The profile gets one entry per category with chosen names, in catalogue order; a shared
    // name goes under each of its categories and unknown names are not sent.
    void profileInterestsGroupByCategory() {
        const QList<UserInterest> interests =
            InterestCatalog::profileInterests({"Tennis", "Formula 1", "Friends", "Basketball", "Knitting"});
        QCOMPARE(interests.size(), 3);
        QCOMPARE(interests[0].category, QStringLiteral("TV Shows"));
        QCOMPARE(interests[0].items, QStringList{"Friends"});
        QCOMPARE(interests[1].category, QStringLiteral("Pop Culture"));
        QCOMPARE(interests[1].items, QStringList{"Formula 1"});
        QCOMPARE(interests[2].category, QStringLiteral("Sports"));
        QCOMPARE(interests[2].items, (QStringList{"Basketball", "Tennis", "Formula 1"}));
        QVERIFY(InterestCatalog::profileInterests({}).isEmpty());

        // Read back, a profile's entries give the names alone: once each, catalogue names only.
        QCOMPARE(InterestCatalog::selection(interests),
                 (QSet<QString>{"Tennis", "Formula 1", "Friends", "Basketball"}));
        QCOMPARE(InterestCatalog::selection({{"Science", {"Biology", "Golf"}}}), QSet<QString>{"Golf"});
    }

    void qmlSeesCategoriesWithSymbols() {
        const QVariantList list = InterestCatalog().categoryList();
        QCOMPARE(list.size(), 8);
        const QVariantMap places = list[5].toMap();
        QCOMPARE(places["name"].toString(), QStringLiteral("Places"));
        QCOMPARE(places["symbol"].toString(), QStringLiteral("globe.americas"));
        QCOMPARE(places["items"].toStringList().first(), QStringLiteral("New York City"));
    }

    // A missing or corrupt selection reads as nothing chosen, and the next save replaces it.
    void storeReadsCorruptValuesAsEmpty() {
        InMemoryPreferences preferences;
        InterestSelectionStore store(preferences);
        QVERIFY(store.selections().isEmpty());
        QVERIFY(!store.hasSelections());
        QCOMPARE(store.background(), QString());
        QVERIFY(!store.prompted());

        for (const QVariant& corrupt :
             {QVariant(QByteArray("[\"Tokyo\",")), QVariant(QByteArray("{\"a\":1}")),
              QVariant(QByteArray("[1,2]")), QVariant(42)}) {
            preferences.setValue(InterestSelectionStore::selectionsKey, corrupt);
            QVERIFY2(store.selections().isEmpty(), qPrintable(corrupt.toString()));
            QVERIFY(store.hasSelections());
        }
        store.setSelections({"Tokyo", "Cooking"});
        QCOMPARE(preferences.value(InterestSelectionStore::selectionsKey).toByteArray(),
                 QByteArray(R"(["Cooking","Tokyo"])"));
        QCOMPARE(store.selections(), (QSet<QString>{"Tokyo", "Cooking"}));

        // A stored list with repeats is still one set.
        preferences.setValue(InterestSelectionStore::selectionsKey, QByteArray(R"(["Golf","Golf"])"));
        QCOMPARE(store.selections(), QSet<QString>{"Golf"});
        store.setSelections({});
        QCOMPARE(preferences.value(InterestSelectionStore::selectionsKey).toByteArray(), QByteArray("[]"));
        // QSettings hands strings back after a restart.
        preferences.setValue(InterestSelectionStore::selectionsKey, QString(R"(["Paris"])"));
        QCOMPARE(store.selections(), QSet<QString>{"Paris"});
    }

    // The prompt form: saving writes the store before the profile request goes out, sends the
    // grouped interests and the trimmed background, shows the slow hint only after its delay, and
    // closes marking the prompt as offered.
    void promptSavesStoreThenProfile() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, profileAnswer)));
        InMemoryPreferences preferences;
        preferences.setValue(InterestSelectionStore::selectionsKey, QByteArray("not json"));
        InterestEditorModel editor(fetcher(server), updater(server), preferences);
        editor.setPrompt(true);
        QCOMPARE(editor.saveTitle(), QStringLiteral("Save & continue"));
        editor.load();
        QVERIFY(editor.selectedNames().isEmpty());
        QSignalSpy finished(&editor, &InterestEditorModel::finished);

        editor.toggle("Formula 1");
        editor.toggle("Hiking");
        editor.toggle("Tokyo");
        editor.toggle("Hiking");
        editor.setBackground("  Nursing student, night shifts.\n");
        editor.save();
        QVERIFY(editor.isSaving());
        QTRY_COMPARE(server.heldCount(), 1);
        InterestSelectionStore store(preferences);
        QCOMPARE(store.selections(), (QSet<QString>{"Formula 1", "Tokyo"}));
        QCOMPARE(store.background(), QStringLiteral("  Nursing student, night shifts.\n"));
        QVERIFY(!store.prompted());

        const RecordedRequest& request = server.requests().at(0);
        QCOMPARE(request.method, QByteArray("PUT"));
        QCOMPARE(request.path, QByteArray("/api/user/profile"));
        QCOMPARE(QJsonDocument(bodyOf(request)).toJson(QJsonDocument::Compact),
                 QByteArray(R"({"background":"Nursing student, night shifts.","interests":[)"
                            R"({"category":"Pop Culture","items":["Formula 1"]},)"
                            R"({"category":"Places","items":["Tokyo"]},)"
                            R"({"category":"Sports","items":["Formula 1"]}]})"));

        clock.advance(InterestEditorModel::slowHintDelay - std::chrono::milliseconds(1));
        QVERIFY(!editor.showSlowHint());
        clock.advance(std::chrono::milliseconds(1));
        QVERIFY(editor.showSlowHint());

        server.releaseHeld();
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(!editor.isSaving());
        QVERIFY(!editor.showSlowHint());
        QVERIFY(editor.errorMessage().isEmpty());
        QVERIFY(store.prompted());
    }

    // A refused update says so and keeps the editor open with the choices; the store already has
    // them. An empty selection goes out as an empty list, not as a missing field.
    void failedSaveKeepsChoicesAndEmptyListIsSent() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(500, R"({"error":"db down"})"));
        InMemoryPreferences preferences;
        InterestSelectionStore store(preferences);
        store.setSelections({"Golf"});
        store.setBackground("Retired");
        InterestEditorModel editor(fetcher(server), updater(server), preferences);
        QCOMPARE(editor.saveTitle(), QStringLiteral("Save"));
        editor.load();
        QCOMPARE(editor.selectedNames(), QStringList{"Golf"});
        QCOMPARE(editor.background(), QStringLiteral("Retired"));
        QSignalSpy finished(&editor, &InterestEditorModel::finished);

        editor.toggle("Golf");
        editor.setBackground("   ");
        editor.save();
        QTRY_VERIFY(!editor.isSaving());
        QCOMPARE(editor.errorMessage(), QStringLiteral("Couldn't save your interests. Please try again."));
        QVERIFY(editor.selectedNames().isEmpty());
        QCOMPARE(editor.background(), QStringLiteral("   "));
        QCOMPARE(finished.size(), 0);
        QCOMPARE(QJsonDocument(bodyOf(server.requests().at(0))).toJson(QJsonDocument::Compact),
                 QByteArray(R"({"background":"","interests":[]})"));
        QVERIFY(store.selections().isEmpty());

        server.enqueue(ScriptedResponse::json(200, profileAnswer));
        editor.save();
        QVERIFY(editor.errorMessage().isEmpty());
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(!store.prompted()); // the Settings form is not the prompt
    }

    void skippingThePromptMarksItOffered() {
        InMemoryPreferences preferences;
        InterestSelectionStore(preferences).setSelections({});
        ScriptedHttpServer server;
        InterestEditorModel settings(fetcher(server), updater(server), preferences);
        settings.dismiss();
        QVERIFY(!InterestSelectionStore(preferences).prompted());

        InterestEditorModel prompt(fetcher(server), updater(server), preferences);
        prompt.setPrompt(true);
        prompt.load();
        prompt.toggle("Golf");
        QSignalSpy finished(&prompt, &InterestEditorModel::finished);
        prompt.dismiss();
        QCOMPARE(finished.size(), 1);
        QVERIFY(InterestSelectionStore(preferences).prompted());
        QVERIFY(InterestSelectionStore(preferences).selections().isEmpty());
        QCOMPARE(server.requestCount(), 0);
    }

    // Nothing stored on this machine (interests chosen during onboarding elsewhere): the profile's
    // interests and background fill the editor, which stays usable while the answer is on its way;
    // what the user changed meanwhile wins over the answer. Once saved, the store is used alone.
    void editorFillsFromProfileWhenNothingStored() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, profileWithInterests));
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, profileWithInterests)));
        server.enqueue(ScriptedResponse::json(200, profileAnswer));

        InMemoryPreferences untouched;
        InterestEditorModel plain(fetcher(server), updater(server), untouched);
        plain.load();
        QTRY_COMPARE(plain.selectedNames(), (QStringList{"Formula 1", "Golf"}));
        QCOMPARE(plain.background(), QStringLiteral("Night-shift nurse"));
        const RecordedRequest& fetch = server.requests().at(0);
        QCOMPARE(fetch.method, QByteArray("GET"));
        QCOMPARE(fetch.path, QByteArray("/api/user/profile"));
        QCOMPARE(fetch.header("Authorization"), QByteArray("Bearer tok"));
        QVERIFY(!InterestSelectionStore(untouched).hasSelections()); // only a save stores them

        InMemoryPreferences preferences;
        InterestEditorModel editor(fetcher(server), updater(server), preferences);
        editor.load();
        QTRY_COMPARE(server.heldCount(), 1);
        editor.toggle("Tokyo");
        editor.toggle("Golf");
        editor.toggle("Golf"); // ticked and unticked: the user does not want it
        editor.setBackground("Student");
        QCOMPARE(editor.selectedNames(), QStringList{"Tokyo"});
        server.releaseHeld();
        QTRY_COMPARE(editor.selectedNames(), (QStringList{"Formula 1", "Tokyo"}));
        QCOMPARE(editor.background(), QStringLiteral("Student"));
        QVERIFY(editor.errorMessage().isEmpty());

        QSignalSpy finished(&editor, &InterestEditorModel::finished);
        editor.save();
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(QJsonDocument(bodyOf(server.requests().at(2))).toJson(QJsonDocument::Compact),
                 QByteArray(R"({"background":"Student","interests":[)"
                            R"({"category":"Pop Culture","items":["Formula 1"]},)"
                            R"({"category":"Places","items":["Tokyo"]},)"
                            R"({"category":"Sports","items":["Formula 1"]}]})"));
        editor.load();
        QCOMPARE(editor.selectedNames(), (QStringList{"Formula 1", "Tokyo"}));
        QTest::qWait(50);
        QCOMPARE(server.requestCount(), 3);
    }

    // A failed profile request leaves the editor empty and quiet. A save made before the answer
    // comes stands: the request is dropped and its answer changes nothing.
    void profileFetchFailureOrLateAnswerChangesNothing() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(500, R"({"detail":"db down"})"));
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, profileWithInterests)));
        server.enqueue(ScriptedResponse::json(200, profileAnswer));
        InMemoryPreferences preferences;
        InterestEditorModel editor(fetcher(server), updater(server), preferences);
        QSignalSpy selectionChanged(&editor, &InterestEditorModel::selectionChanged);
        editor.load();
        QTRY_COMPARE(server.requestCount(), 1);
        QTest::qWait(50);
        QVERIFY(editor.selectedNames().isEmpty());
        QCOMPARE(editor.background(), QString());
        QVERIFY(editor.errorMessage().isEmpty());
        QCOMPARE(selectionChanged.size(), 1); // the load itself

        editor.load();
        QTRY_COMPARE(server.heldCount(), 1);
        editor.toggle("Hiking");
        QSignalSpy finished(&editor, &InterestEditorModel::finished);
        editor.save();
        QTRY_COMPARE(finished.size(), 1);
        QTRY_COMPARE(server.clientAbortsWhileHeld(), 1);
        server.releaseHeld();
        QTest::qWait(50);
        QCOMPARE(editor.selectedNames(), QStringList{"Hiking"});
        QCOMPARE(InterestSelectionStore(preferences).selections(), QSet<QString>{"Hiking"});
        QCOMPARE(server.requests().at(2).method, QByteArray("PUT"));
    }

private:
    static InterestEditorModel::ProfileFetch fetcher(const ScriptedHttpServer& server) {
        const APIClient client = scriptedClient(server);
        return [client] { return UserAPI(client).profile(); };
    }
    static InterestEditorModel::ProfileUpdate updater(const ScriptedHttpServer& server) {
        const APIClient client = scriptedClient(server);
        return [client](UserProfileUpdateRequest update) { return UserAPI(client).updateProfile(update); };
    }
};

QTEST_GUILESS_MAIN(InterestsTest)
#include "tst_Interests.moc"
