#include <QtTest>

#include "Common/AppContext.h"
#include "InMemoryPreferences.h"
#include "Quiz/QuizLaunchRequests.h"
#include "Shell/NotificationRouting.h"
#include "Shell/OnboardingGate.h"
#include "Shell/RootShellModel.h"

using Destination = NotificationDestination;
Q_DECLARE_METATYPE(AppNotification)

namespace {

AppNotification notification(const QString& type, std::optional<QString> relatedId = {},
                             QMap<QString, JSONValue> metadata = {}) {
    AppNotification record;
    record.id = QStringLiteral("n1");
    record.type = type;
    record.title = QStringLiteral("Title");
    record.relatedId = std::move(relatedId);
    record.metadata = std::move(metadata);
    return record;
}

} // namespace

// Where a tapped notification leads, and how the shell follows routed notifications and
// onboarding's request for the Library.
class NotificationRoutingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QuizLaunchRequests::takePendingCourseId(); }

    void destinationOfEachKind_data() {
        QTest::addColumn<AppNotification>("record");
        QTest::addColumn<Destination>("expected");
        QTest::newRow("study task") << notification("study_task", "c1") << Destination::study();
        QTest::newRow("shared document") << notification("shared_document", "d1") << Destination::library();
        QTest::newRow("exam without a course") << notification("exam") << Destination::study();
        QTest::newRow("exam with a blank course id") << notification("exam", "") << Destination::study();
        QTest::newRow("exam for a course") << notification("exam", "c1") << Destination::quizSetup("c1");
        QTest::newRow("assignment: metadata course and topic win")
            << notification("assignment", "a7",
                            {{"course_id", JSONValue(QStringLiteral("c2"))},
                             {"topic", JSONValue(QStringLiteral("Cells"))}})
            << Destination::quizSetup("c2", QStringLiteral("Cells"));
        QTest::newRow("adaptive quiz: course before the colon")
            << notification("adaptive_quiz", "c3:q9") << Destination::quizSetup("c3");
        QTest::newRow("supplementary assignment")
            << notification("supplementary_assignment", "c4") << Destination::quizSetup("c4");
        QTest::newRow("unknown") << notification("unknown", "c1") << Destination::study();
        QTest::newRow("unmatched type") << notification("party_invite", "c1") << Destination::study();
    }
    void destinationOfEachKind() {
        QFETCH(AppNotification, record);
        QFETCH(Destination, expected);
        QCOMPARE(NotificationRouting::destination(record), expected);
    }

    // A quiz destination leaves its course for the Quiz tab, which takes it once; the shell
    // selects each destination's tab.
    void postingSelectsTheTab() {
        AppContext context(QUrl(), {});
        RootShellModel shell;
        shell.setContext(&context);
        NotificationRouting::post(context, Destination::quizSetup("c1", QStringLiteral("Cells")));
        QCOMPARE(shell.selectedTab(), RootTab::quiz);
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QStringLiteral("c1"));
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QString());

        NotificationRouting::post(context, Destination::library());
        QCOMPARE(shell.selectedTab(), RootTab::library);
        NotificationRouting::post(context, Destination::study());
        QCOMPARE(shell.selectedTab(), RootTab::study);
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QString());

        // Only the last quiz destination's course waits.
        NotificationRouting::post(context, Destination::quizSetup("c1"));
        NotificationRouting::post(context, Destination::quizSetup("c2"));
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QStringLiteral("c2"));
    }

    // Onboarding's Library request selects the Library once and is cleared; it is followed again
    // only when set again.
    void libraryRequestIsFollowedOnce() {
        InMemoryPreferences preferences;
        OnboardingGate gate(OnboardingGate::ProfileFetch{}, preferences);
        RootShellModel shell;
        shell.setOnboarding(&gate);
        QCOMPARE(shell.selectedTab(), RootTab::study);

        gate.complete(true);
        QCOMPARE(shell.selectedTab(), RootTab::library);
        QVERIFY(!gate.pendingOnboardingLibraryDeepLink());

        shell.setSelectedTab(RootTab::quiz);
        gate.setShowInterestsPrompt(true); // another change of the gate
        QCOMPARE(shell.selectedTab(), RootTab::quiz);

        gate.setPendingOnboardingLibraryDeepLink(true);
        QCOMPARE(shell.selectedTab(), RootTab::library);
        QVERIFY(!gate.pendingOnboardingLibraryDeepLink());

        // A request made before the shell appears is followed when it does.
        OnboardingGate earlier(OnboardingGate::ProfileFetch{}, preferences);
        earlier.complete(true);
        RootShellModel later;
        later.setOnboarding(&earlier);
        QCOMPARE(later.selectedTab(), RootTab::library);
        QVERIFY(!earlier.pendingOnboardingLibraryDeepLink());
    }
};

QTEST_GUILESS_MAIN(NotificationRoutingTest)
#include "tst_NotificationRouting.moc"
