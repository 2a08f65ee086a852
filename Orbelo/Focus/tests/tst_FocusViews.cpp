#include "ViewTest.h"

#include "Focus/AppFocusTimer.h"
#include "Focus/PomodoroTimer.h"
#include "InMemoryPreferences.h"
#include "ScriptedClient.h"
#include "VirtualClock.h"

#include <QScopeGuard>

// The Focus screens load without QML errors, and what a user reaches them by is there.
class FocusViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The focus timer: its card opens the timer screen over the Study tab; the actions follow the
    // state and Space pauses and resumes. The screens only show the app's timer, which runs on
    // while the Study tab is gone and shows again when it comes back.
    void focusTimer() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        InMemoryPreferences preferences;
        DeniedNotifications denied;
        PomodoroTimer timer(scriptedClient(QUrl("https://127.0.0.1:9")), preferences, denied,
                            QTimeZone::utc());
        AppFocusTimer::shared().setTimer(&timer);
        const auto restore = qScopeGuard([this] { AppFocusTimer::shared().setTimer(appTimer.get()); });
        QQuickWindow window; // not shown: the keys go to its focus item all the same
        std::unique_ptr<QQuickItem> view = load("StudyScreen.qml");
        QVERIFY(view);
        view->setParentItem(window.contentItem());

        const QList<QQuickItem*> card = itemsNamed(view.get(), "Focus timer, not running");
        QCOMPARE(card.size(), 1);
        QMetaObject::invokeMethod(card[0], "openRequested");
        QTRY_COMPARE(itemsNamed(view.get(), "Start focus").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Reset").size(), 0);
        QCOMPARE(itemsNamed(view.get(), "25 min focus · 5 min break").size(), 1);
        QCOMPARE(itemsNamed(view.get(), PomodoroTimer::notificationsOffText).size(), 1);

        press(view.get(), "Start focus");
        for (const char* name : {"Pause", "Skip", "Reset", "Focus, 25:00 remaining"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
        clock.advance(std::chrono::seconds(1));
        QCOMPARE(itemsNamed(view.get(), "Focus, 24:59 remaining").size(), 1);

        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(itemsNamed(view.get(), "Resume").size(), 1);
        QCOMPARE(timer.status(), PomodoroTimer::Paused);
        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(itemsNamed(view.get(), "Pause").size(), 1);

        press(view.get(), "Back to Study");
        QTRY_COMPARE(itemsNamed(view.get(), "Focus timer, Focus, 24:59 remaining").size(), 1);
        QTRY_VERIFY(itemsNamed(view.get(), "Pause").isEmpty());

        view.reset(); // another section
        clock.advance(std::chrono::minutes(25));
        QCOMPARE(timer.phaseLabel(), "Short break");
        QCOMPARE(timer.completedToday(), 1);
        view = load("StudyScreen.qml");
        QVERIFY(view);
        QCOMPARE(itemsNamed(view.get(), "Focus timer, Short break, 04:59 remaining").size(), 1);
    }

    // The window title carries the time left while a focus interval runs, whatever the window
    // shows; paused, on a break or idle, it is the app's name.
    void windowTitleFollowsTheFocusTimer() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        InMemoryPreferences preferences;
        DeniedNotifications denied;
        PomodoroTimer timer(scriptedClient(QUrl("https://127.0.0.1:9")), preferences, denied,
                            QTimeZone::utc());
        const auto restore = qScopeGuard([this] { AppFocusTimer::shared().setTimer(appTimer.get()); });
        QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/Main.qml")));
        QVERIFY2(!component.isError(), qPrintable(component.errorString()));
        std::unique_ptr<QQuickWindow> window(
            qobject_cast<QQuickWindow*>(component.createWithInitialProperties({{"visible", false}})));
        QVERIFY(window);
        QCOMPARE(window->title(), "Orbelo");

        AppFocusTimer::shared().setTimer(&timer);
        timer.start();
        QCOMPARE(window->title(), "25:00 · Focus — Orbelo");
        clock.advance(std::chrono::seconds(1));
        QCOMPARE(window->title(), "24:59 · Focus — Orbelo");
        timer.pause();
        QCOMPARE(window->title(), "Orbelo");
        timer.resume();
        QCOMPARE(window->title(), "24:59 · Focus — Orbelo");
        timer.skip();
        QCOMPARE(window->title(), "Orbelo");
        AppFocusTimer::shared().setTimer(nullptr); // before launch
        QCOMPARE(window->title(), "Orbelo");
    }
};

QTEST_MAIN(FocusViewsTest)
#include "tst_FocusViews.moc"
