#pragma once

#include "Appearance.h"
#include "Common/AppContext.h"
#include "Focus/FocusNotificationScheduler.h"
#include "Focus/PomodoroTimer.h"
#include "InMemoryPreferences.h"
#include "Media/ReadAloudPlayer.h"

#include <QObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

#include <memory>

// Every visible item whose accessible name is `name`.
QList<QQuickItem*> itemsNamed(QQuickItem* root, const QString& name);

// A notification manager whose notifications the user has turned off.
class DeniedNotifications : public FocusNotificationScheduler {
public:
    void schedule(const QString&, const QString&, const QDateTime&) override {}
    void cancelAll() override {}
    bool notificationsDenied() const override { return true; }
};

// What every screen test of a feature starts from: the app's QML modules on a fresh engine per
// case with its own app context, any QML warning failing the case, the app's focus timer, idle, for
// the screens that show it, its read-aloud player without a speech engine, and its look. A feature's view test derives from it and adds its cases as private slots.
class ViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

protected:
    // Presses the one item named `name` under `root`.
    static void press(QQuickItem* root, const QString& name);
    // A sheet (a Popup) opened over `window`'s content.
    std::unique_ptr<QObject> openSheet(QQuickWindow& window, const QString& file);
    // A screen of the views module, sized as the window shows it; null (with a warning) on errors.
    std::unique_ptr<QQuickItem> load(const QString& file, const QVariantMap& properties = {});

    std::unique_ptr<AppContext> context; // before the engine: its QML uses the context
    std::unique_ptr<QQmlEngine> engine;
    InMemoryPreferences appTimerPreferences;
    DeniedNotifications appTimerNotifications;
    std::unique_ptr<PomodoroTimer> appTimer;
    std::unique_ptr<ReadAloudPlayer> readAloud;
    Appearance appearance{nullptr};
};
