// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "APIClient.h"
#include "InMemoryPreferences.h"
#include "Interests/InterestSelectionStore.h"
#include "Onboarding/OnboardingFlowModel.h"
#include "Onboarding/OnboardingHoursBand.h"
#include "ScriptedHttpServer.h"
#include "User/UserAPI.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

using namespace std::chrono_literals;

namespace {

async::Task<std::optional<QString>> testToken() {
    co_return QStringLiteral("test-token");
}

// A save that never answers, for tests about the steps alone.
async::Task<UserProfileResponse> unanswered(UserProfileUpdateRequest) {
    co_await async::Clock::current().sleep(24h);
    co_return UserProfileResponse{};
}

// A flow whose saves go to the scripted server as the app's would.
struct Flow {
    explicit Flow(ScriptedHttpServer& server)
        : client(server.baseUrl(), &testToken),
          model([this](
                    const UserProfileUpdateRequest& update) { return UserAPI(client).updateProfile(update); },
                preferences) {}

    APIClient client;
    InMemoryPreferences preferences;
    OnboardingFlowModel model;
};

QJsonObject bodyOf(const RecordedRequest& request) {
    return QJsonDocument::fromJson(request.body).object();
}

QStringList keysOf(const RecordedRequest& request) {
    QStringList keys = bodyOf(request).keys();
    keys.sort();
    return keys;
}

// Answers every question without waiting: with less motion the single choices move on at once.
void answerEverything(OnboardingFlowModel& model) {
    model.setReduceMotion(true);
    model.toggleInterest(QStringLiteral("Cooking"));
    model.continueToNext();
    model.choose(QStringLiteral("High School"));
    model.toggleGoal(QStringLiteral("Pass exams"));
    model.continueToNext();
    model.choose(QStringLiteral("deep"));
    model.choose(QStringLiteral("auditory"));
}

} // namespace

class OnboardingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("orbelo.*.debug=false")); }

    // A stored number of hours maps back to the first band whose exclusive bound lies above it.
    void hoursBands() {
        QCOMPARE(OnboardingHoursBand::forHours(0).id, QStringLiteral("light"));
        QCOMPARE(OnboardingHoursBand::forHours(2).id, QStringLiteral("light"));
        QCOMPARE(OnboardingHoursBand::forHours(3).id, QStringLiteral("steady"));
        QCOMPARE(OnboardingHoursBand::forHours(14).id, QStringLiteral("deep"));
        QCOMPARE(OnboardingHoursBand::forHours(15).id, QStringLiteral("full"));
        QCOMPARE(OnboardingHoursBand::forHours(std::numeric_limits<int>::max()).id, QStringLiteral("full"));
        // Each band's own number of hours maps back to it.
        for (const OnboardingHoursBand& band : OnboardingHoursBand::all())
            QCOMPARE(OnboardingHoursBand::forHours(band.hours).id, band.id);
    }

    // Taps on single-choice cards: a newer tap restarts the pause, and the flow moves on 0.3 s
    // after the last one; with less motion it moves on at once.
    void singleChoiceAdvance() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        InMemoryPreferences preferences;
        OnboardingFlowModel model(&unanswered, preferences);
        QCOMPARE(model.progressText(), QStringLiteral("Question 1 of 5"));
        model.choose(QStringLiteral("Graduate")); // not a single-choice step
        QCOMPARE(model.currentStep(), OnboardingStep::interests);
        model.continueToNext(); // "Skip": interests may stay empty
        QCOMPARE(model.currentStep(), OnboardingStep::level);
        QCOMPARE(model.hint(), QStringLiteral("Tap one — we move on for you"));

        model.choose(QStringLiteral("Graduate"));
        clock.advance(200ms);
        model.choose(QStringLiteral("Undergraduate"));
        clock.advance(200ms);
        QCOMPARE(model.currentStep(), OnboardingStep::level);
        clock.advance(100ms);
        QCOMPARE(model.currentStep(), OnboardingStep::goals);
        QCOMPARE(model.answers().level, QStringLiteral("Undergraduate"));
        QCOMPARE(model.progressText(), QStringLiteral("Question 3 of 5"));

        // "Back" while a tap waits to move on: it stays back, the answer kept.
        model.back();
        model.choose(QStringLiteral("Professional"));
        model.back();
        clock.advance(1s);
        QCOMPARE(model.currentStep(), OnboardingStep::interests);
        QCOMPARE(model.answers().level, QStringLiteral("Professional"));

        model.continueToNext();
        model.setReduceMotion(true);
        model.choose(QStringLiteral("Graduate"));
        QCOMPARE(model.currentStep(), OnboardingStep::goals);
        model.choose(QStringLiteral("nonsense"));
        QCOMPARE(model.answers().level, QStringLiteral("Graduate"));
    }

    // Goals need a choice before "Continue"; the hint says so until one is picked.
    void goalsNeedOne() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        InMemoryPreferences preferences;
        OnboardingFlowModel model(&unanswered, preferences);
        model.setReduceMotion(true);
        model.continueToNext();
        model.choose(QStringLiteral("Graduate"));
        QCOMPARE(model.currentStep(), OnboardingStep::goals);
        QVERIFY(!model.canContinue());
        QCOMPARE(model.hint(), QStringLiteral("Pick at least one"));
        model.continueToNext();
        QCOMPARE(model.currentStep(), OnboardingStep::goals);
        model.toggleGoal(QStringLiteral("Pass exams"));
        model.toggleGoal(QStringLiteral("Master subject"));
        model.toggleGoal(QStringLiteral("Pass exams"));
        QCOMPARE(model.answers().goals, QStringList{QStringLiteral("Master subject")});
        QCOMPARE(model.hint(), QStringLiteral("Pick as many as you like"));
        const QVariantList cards = model.options();
        QCOMPARE(cards.size(), 4);
        QCOMPARE(cards[2].toMap().value("label").toString(), QStringLiteral("Actually remembering it"));
        QCOMPARE(model.selectedValues(), QStringList{QStringLiteral("Master subject")});
        model.continueToNext();
        QCOMPARE(model.currentStep(), OnboardingStep::time);
    }

    // The saves on the wire: after 0.6 s of quiet, only what was answered, "High School" spelt as
    // the backend wants it, never the completion flag.
    void intermediateSaves() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, "{}"); });
        Flow flow(server);
        OnboardingFlowModel& model = flow.model;

        model.toggleInterest(QStringLiteral("Basketball"));
        clock.advance(500ms);
        model.toggleInterest(QStringLiteral("Cooking"));
        clock.advance(500ms);
        QTest::qWait(50);
        QCOMPARE(server.requestCount(), 0);
        clock.advance(100ms);
        QTRY_COMPARE(server.requestCount(), 1);
        const RecordedRequest& first = server.requests().at(0);
        QCOMPARE(first.method, QByteArray("PUT"));
        QCOMPARE(first.path, QByteArray("/api/user/profile"));
        QCOMPARE(first.header("Authorization"), QByteArray("Bearer test-token"));
        QCOMPARE(keysOf(first), QStringList{QStringLiteral("interests")});
        QStringList sent;
        for (const QJsonValue& entry : bodyOf(first).value("interests").toArray()) {
            for (const QJsonValue& item : entry.toObject().value("items").toArray())
                sent << item.toString();
        }
        sent.sort();
        QCOMPARE(sent, (QStringList{QStringLiteral("Basketball"), QStringLiteral("Cooking")}));

        model.continueToNext();
        model.choose(QStringLiteral("High School"));
        clock.advance(300ms);
        QCOMPARE(model.currentStep(), OnboardingStep::goals);
        clock.advance(300ms);
        QTRY_COMPARE(server.requestCount(), 2);
        const QJsonObject second = bodyOf(server.requests().at(1));
        QCOMPARE(second.value("school_level").toString(), QStringLiteral("High school"));
        QVERIFY(!second.contains("academic_goals"));
        QVERIFY(!second.contains("has_completed_onboarding"));

        model.toggleGoal(QStringLiteral("Prepare for certification"));
        model.continueToNext();
        model.choose(QStringLiteral("full"));
        clock.advance(300ms);
        model.choose(QStringLiteral("kinesthetic"));
        clock.advance(600ms);
        QTRY_COMPARE(server.requestCount(), 3);
        const QJsonObject third = bodyOf(server.requests().at(2));
        QCOMPARE(third.value("academic_goals").toArray(), QJsonArray{"Prepare for certification"});
        QCOMPARE(third.value("study_time_per_week").toInt(), 20);
        QCOMPARE(third.value("learning_style").toString(), QStringLiteral("kinesthetic"));
        QVERIFY(!third.contains("has_completed_onboarding"));
        QCOMPARE(model.currentStep(), OnboardingStep::ready);
        QCOMPARE(model.progressText(), QStringLiteral("All set"));
    }

    // A failed save along the way changes nothing; the next change saves again.
    void failedIntermediateSaveIsIgnored() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(503, R"({"detail":"busy"})"));
        server.enqueue(ScriptedResponse::json(200, "{}"));
        Flow flow(server);
        flow.model.toggleInterest(QStringLiteral("Tokyo"));
        clock.advance(600ms);
        QTRY_COMPARE(server.requestCount(), 1);
        QTest::qWait(50);
        QVERIFY(flow.model.errorMessage().isEmpty());
        flow.model.toggleInterest(QStringLiteral("Paris"));
        clock.advance(600ms);
        QTRY_COMPARE(server.requestCount(), 2);
    }

    // "Start studying" drops the save still waiting and sends one with everything and the
    // completion flag; the shell hears of it once that save is through.
    void finishSendsTheLastSave() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, "{}"); });
        Flow flow(server);
        OnboardingFlowModel& model = flow.model;
        QSignalSpy finished(&model, &OnboardingFlowModel::finished);
        answerEverything(model);
        QCOMPARE(model.currentStep(), OnboardingStep::ready);
        QCOMPARE(model.sampleHeading(), QStringLiteral("Osmosis, explained through Cooking"));

        model.startStudying();
        QVERIFY(model.isFinishing());
        QVERIFY(!model.canGoBack());
        model.startStudying(); // a second press while it runs sends nothing more
        QTRY_COMPARE(finished.count(), 1);
        // The interests editor opens on what was chosen here.
        QCOMPARE(InterestSelectionStore(flow.preferences).selections(), QSet<QString>{"Cooking"});
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        clock.advance(2s);
        QTest::qWait(50);
        QCOMPARE(server.requestCount(), 1);
        const QJsonObject body = bodyOf(server.requests().at(0));
        QCOMPARE(body.value("has_completed_onboarding"), QJsonValue(true));
        QCOMPARE(body.value("school_level").toString(), QStringLiteral("High school"));
        QCOMPARE(body.value("academic_goals").toArray(), QJsonArray{"Pass exams"});
        QCOMPARE(body.value("study_time_per_week").toInt(), 12);
        QCOMPARE(body.value("learning_style").toString(), QStringLiteral("auditory"));
        QVERIFY(body.contains("interests"));
    }

    // A slow last save shows the hint after 5 s; a failed one stays on the summary with the
    // reason (the server's message), and the next press tries again.
    void failedFinishStaysAndRetries() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.enqueue(
            ScriptedResponse::held(ScriptedResponse::json(500, R"({"detail":"database is down"})")));
        server.enqueue(ScriptedResponse::json(401, R"({"detail":"expired"})"));
        server.enqueue(ScriptedResponse::json(200, "{}"));
        Flow flow(server);
        OnboardingFlowModel& model = flow.model;
        QSignalSpy finished(&model, &OnboardingFlowModel::finished);
        QSignalSpy announced(&model, &OnboardingFlowModel::announcement);
        answerEverything(model);
        model.startStudying();
        QTRY_COMPARE(server.heldCount(), 1);
        clock.advance(4900ms);
        QVERIFY(!model.showSlowHint());
        clock.advance(100ms);
        QVERIFY(model.showSlowHint());
        server.releaseHeld();
        QTRY_VERIFY(!model.isFinishing());
        QVERIFY(!model.showSlowHint());
        QCOMPARE(model.currentStep(), OnboardingStep::ready);
        QCOMPARE(model.errorMessage(), QStringLiteral("Couldn't save your answers: database is down."));
        QCOMPARE(announced.constLast().at(0).toString(), model.errorMessage());
        QCOMPARE(finished.count(), 0);
        QVERIFY(!InterestSelectionStore(flow.preferences).hasSelections());

        model.startStudying();
        QVERIFY(model.errorMessage().isEmpty());
        QTRY_VERIFY(!model.isFinishing());
        QCOMPARE(model.errorMessage(), QStringLiteral("Couldn't save your answers: you're signed out."));

        model.startStudying();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(server.requestCount(), 3);
        QCOMPARE(bodyOf(server.requests().at(2)).value("has_completed_onboarding"), QJsonValue(true));
        QCOMPARE(InterestSelectionStore(flow.preferences).selections(), QSet<QString>{"Cooking"});
    }

    // Skipped interests leave the profile's as they were, so nothing is stored for the editor
    // either: it reads them from the profile instead.
    void skippedInterestsStoreNothing() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, "{}"); });
        Flow flow(server);
        OnboardingFlowModel& model = flow.model;
        QSignalSpy finished(&model, &OnboardingFlowModel::finished);
        model.setReduceMotion(true);
        model.continueToNext();
        model.choose(QStringLiteral("Graduate"));
        model.toggleGoal(QStringLiteral("Pass exams"));
        model.continueToNext();
        model.choose(QStringLiteral("steady"));
        model.choose(QStringLiteral("visual"));
        model.startStudying();
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!bodyOf(server.requests().constLast()).contains("interests"));
        QVERIFY(!InterestSelectionStore(flow.preferences).hasSelections());
    }

    // The summary step's sample and rows follow the answers.
    void readySampleAndSummary() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        InMemoryPreferences preferences;
        OnboardingFlowModel model(&unanswered, preferences);
        model.setReduceMotion(true);
        model.continueToNext();
        model.choose(QStringLiteral("Professional"));
        model.toggleGoal(QStringLiteral("Improve grades"));
        model.continueToNext();
        model.choose(QStringLiteral("light"));
        model.choose(QStringLiteral("visual"));
        QCOMPARE(model.title(), QStringLiteral("You're set."));
        QCOMPARE(model.sampleHeading(), QStringLiteral("Osmosis, explained plainly"));
        QVERIFY(model.sampleFollowUp().isEmpty());
        const QVariantList rows = model.summary();
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[1].toMap().value("label").toString(), QStringLiteral("Level"));
        QCOMPARE(rows[1].toMap().value("value").toString(), QStringLiteral("Out of school"));
        QCOMPARE(rows[3].toMap().value("value").toString(), QStringLiteral("Under 3 hours"));
        QCOMPARE(rows[4].toMap().value("value").toString(), QStringLiteral("Seeing it drawn out"));

        // Back to the first question: the answers stay, and the first interest with a sample
        // leads the card while the first interest picked leads the sentence under it.
        for (int i = 0; i < 5; ++i)
            model.back();
        QCOMPARE(model.currentStep(), OnboardingStep::interests);
        QCOMPARE(model.answers().level, QStringLiteral("Professional"));
        model.toggleInterest(QStringLiteral("Tokyo"));
        model.toggleInterest(QStringLiteral("Not in the catalogue"));
        model.toggleInterest(QStringLiteral("The Office"));
        model.toggleInterest(QStringLiteral("Basketball"));
        QCOMPARE(model.interests(), (QStringList{"Tokyo", "The Office", "Basketball"}));
        QCOMPARE(model.sampleHeading(), QStringLiteral("Osmosis, explained through The Office"));
        QCOMPARE(model.sampleFollowUp(),
                 QStringLiteral("We'll explain new ideas through Tokyo and the rest of "
                                "what you picked, using your own material."));
    }
};

QTEST_GUILESS_MAIN(OnboardingTest)
#include "tst_Onboarding.moc"
