#include "ViewTest.h"

#include "InMemoryPreferences.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Study/CalendarFeedModel.h"
#include "Study/ProgressHeaderModel.h"

#include <QScopeGuard>

// The Study screens load without QML errors, and what a user reaches them by is there.
class StudyViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The Study tab: the schedule (here failing, with "Try again") and the calendar feed's actions;
    // replacing asks first, and Escape or Cancel answer no without a word to the backend.
    void studyScreen() {
        InMemoryPreferences preferences;
        preferences.setValue(CalendarFeedModel::issuedKey, true);
        PreferencesStore::setStandardOverride(&preferences);
        const auto restore = qScopeGuard([] { PreferencesStore::setStandardOverride(nullptr); });
        QQuickWindow window; // the confirmation opens in the window's overlay
        std::unique_ptr<QQuickItem> view = load("StudyScreen.qml");
        QVERIFY(view);
        view->setParentItem(window.contentItem());
        for (const char* card : {"Study schedule", "Calendar feed"}) // the card and its heading
            QVERIFY2(itemsNamed(view.get(), card).size() == 2, card);
        for (const char* name : {"Add to Calendar again", "Copy link", "Preview", "Save as .ics file…",
                                 "Replace link", "Stop sharing", "Refresh"})
            QVERIFY2(itemsNamed(view.get(), QString::fromUtf8(name)).size() == 1, name);
        QVERIFY(itemsNamed(view.get(), "Open in Calendar").isEmpty()); // no link in this run yet
        // Nothing listens where the app's backend would be: the schedule's and today's cards' failure
        // lines with their retries; the progress header stays out of the way.
        QTRY_COMPARE(itemsNamed(view.get(), "Try again").size(), 2);
        QCOMPARE(itemsNamed(view.get(), "Today's study feed").size(), 2); // the card and its heading
        auto* progress = view->findChild<ProgressHeaderModel*>();
        QVERIFY(progress);
        QTRY_VERIFY(!progress->isLoading());
        QVERIFY(!progress->hasProgress());

        auto* feed = view->findChild<CalendarFeedModel*>();
        QVERIFY(feed);
        press(view.get(), "Replace link");
        QCOMPARE(feed->confirmation(), QStringLiteral("replace"));
        QTRY_COMPARE(itemsNamed(window.contentItem(), "Replace your calendar link?").size(),
                     2); // dialog, heading
        QTest::keyClick(&window, Qt::Key_Escape);
        QTRY_COMPARE(feed->confirmation(), QString());
        QTRY_VERIFY(itemsNamed(window.contentItem(), "Replace your calendar link?").isEmpty());

        press(view.get(), "Stop sharing");
        QTRY_COMPARE(itemsNamed(window.contentItem(), "Stop sharing your calendar?").size(), 2);
        press(window.contentItem(), "Cancel");
        QCOMPARE(feed->confirmation(), QString());
        QVERIFY(!feed->isBusy());
    }

    // The progress header, once the figures have come, is one element read as one line.
    void progressHeader() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(
            200,
            R"({"total_xp":1320,"level":4,"current_level_xp":120,"next_level_xp":300,"streak":6,"credits":85})"));
        ProgressHeaderModel model(scriptedClient(server));
        std::unique_ptr<QQuickItem> view =
            load("ProgressHeaderView.qml", {{"model", QVariant::fromValue(&model)}});
        QVERIFY(view);
        QVERIFY(!view->isVisible());
        model.load();
        QTRY_VERIFY(view->isVisible());
        QCOMPARE(
            itemsNamed(view.get(), "Level 4, 120 of 300 XP to next level, 6 day streak, 85 credits").size(),
            1);
    }
};

QTEST_MAIN(StudyViewsTest)
#include "tst_StudyViews.moc"
