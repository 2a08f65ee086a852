#include "ViewTest.h"

#include "FakeNotifierClient.h"
#include "InMemoryPreferences.h"
#include "NotificationManager.h"
#include "StudyReminderPreferencesStore.h"

#include <QScopeGuard>

// The Settings screens load without QML errors, and what a user reaches them by is there.
class SettingsViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The settings screen holds its four sections and everything a user reaches through them.
    void settingsScreen() {
        std::unique_ptr<QQuickItem> view = load("SettingsView.qml");
        QVERIFY(view);
        for (const char* name :
             {"Account", "Profile", "Study Reminders", "Support & Legal", "Danger Zone", "Sign Out",
              "Interests", "University: Not set", "Show me in my school's directory", "Contact Support",
              "Email Us: support@orbelo.app", "Terms of Use", "Privacy Policy", "Delete Account", "Refresh"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
    }

    // Study reminders switched on: a row per time with its hour, minute and remove controls, and
    // "Add time"; changing a time keeps its row; the one time left cannot be removed.
    void studyRemindersSection() {
        InMemoryPreferences preferences;
        PreferencesStore::setStandardOverride(&preferences);
        // The changes below are scheduled with an agent in memory, never the desktop's.
        NotificationManager notifications(std::make_shared<FakeNotifierClient>(), QDBusConnection("none"),
                                          preferences);
        NotificationManager::setSharedOverride(&notifications);
        const auto restore = qScopeGuard([] {
            NotificationManager::setSharedOverride(nullptr);
            PreferencesStore::setStandardOverride(nullptr);
        });
        StudyReminderPreferencesStore(preferences).save({true, {{7, 30}, {19, 0}}});
        std::unique_ptr<QQuickItem> view = load("StudyRemindersSection.qml");
        QVERIFY(view);
        for (const char* name :
             {"Study Reminders", "Allow notifications", "Daily reminders", "Time 1 hour", "Time 1 minute",
              "Remove time 1", "Time 2 hour", "Remove time 2", "Add time"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
        QCOMPARE(itemsNamed(view.get(), "Time 2 hour").at(0)->property("value").toInt(), 19);
        QCOMPARE(itemsNamed(view.get(), "Remove time 2").at(0)->property("enabled").toBool(), true);
        // A step of the hour keeps its spin box (and so the keyboard focus) where it is.
        QQuickItem* hour = itemsNamed(view.get(), "Time 1 hour").at(0);
        hour->setProperty("value", 8);
        QVERIFY(QMetaObject::invokeMethod(hour, "valueModified"));
        QCOMPARE(itemsNamed(view.get(), "Time 1 hour").at(0), hour);
        QCOMPARE(hour->property("value").toInt(), 8);
        press(view.get(), "Remove time 1");
        QVERIFY(itemsNamed(view.get(), "Time 2 hour").isEmpty());
        QCOMPARE(itemsNamed(view.get(), "Time 1 hour").at(0)->property("value").toInt(), 19);
        QCOMPARE(itemsNamed(view.get(), "Remove time 1").at(0)->property("enabled").toBool(), false);
    }
};

QTEST_MAIN(SettingsViewsTest)
#include "tst_SettingsViews.moc"
