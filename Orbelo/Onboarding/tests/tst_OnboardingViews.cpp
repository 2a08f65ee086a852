#include "ViewTest.h"

#include "VirtualClock.h"

// The Onboarding screens load without QML errors, and what a user reaches them by is there.
class OnboardingViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // Onboarding: every answer and button is reachable by its name, "Skip" moves on from the
    // interests, and a tap on a level moves on to the goals after the pause.
    void onboardingSteps() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        std::unique_ptr<QQuickItem> view = load("OnboardingView.qml");
        QVERIFY(view);
        QVERIFY(!itemsNamed(view.get(), "What are you into?").isEmpty());
        QCOMPARE(itemsNamed(view.get(), "Basketball").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Formula 1").size(), 2); // listed in two categories
        QVERIFY(itemsNamed(view.get(), "Continue").at(0)->property("enabled") == false);
        press(view.get(), "Skip");

        QVERIFY(!itemsNamed(view.get(), "Where are you studying?").isEmpty());
        for (const char* label : {"High school", "Undergraduate", "Graduate", "Out of school", "Back"})
            QVERIFY2(itemsNamed(view.get(), label).size() == 1, label);
        press(view.get(), "Graduate");
        QTRY_COMPARE(clock.pendingTimers(), 2); // the pause before moving on, and the save
        clock.advance(std::chrono::milliseconds(300));
        QVERIFY(!itemsNamed(view.get(), "What are you working toward?").isEmpty());
        QVERIFY(!itemsNamed(view.get(), "Pick at least one").isEmpty());
        QVERIFY(itemsNamed(view.get(), "Continue").at(0)->property("enabled") == false);
        press(view.get(), "Passing a specific exam");
        QVERIFY(itemsNamed(view.get(), "Continue").at(0)->property("enabled") == true);
        QVERIFY(itemsNamed(view.get(), "Passing a specific exam").at(0)->property("selected").toBool());
    }
};

QTEST_MAIN(OnboardingViewsTest)
#include "tst_OnboardingViews.moc"
