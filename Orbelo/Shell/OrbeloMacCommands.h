#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

// The menu bar's commands: "Settings…", "Sign Out", "Refresh" for the focused screen, the "Go"
// menu and "Orbelo Help". Commands reach the screens through process-local notifications.
class OrbeloMacCommands : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool canRefresh READ canRefresh NOTIFY canRefreshChanged)
    Q_PROPERTY(QVariantList goItems READ goItems CONSTANT)
    Q_PROPERTY(QUrl supportURL READ supportURL CONSTANT)
public:
    static inline const QString openSettingsNotification = QStringLiteral("orbeloOpenSettings");

    explicit OrbeloMacCommands(QObject* parent = nullptr);
    // `signOut` replaces AuthKit::signOut (tests).
    OrbeloMacCommands(std::function<async::Task<void>()> signOut, QObject* parent = nullptr);

    bool canRefresh() const { return bool(refreshAction_); }
    // The focused screen publishes its refresh action here, and clears it when it loses focus.
    void setRefreshAction(std::function<void()> action);
    // {number, label} for "Study" … "Notifications", numbered 1 to 7.
    QVariantList goItems() const;
    QUrl supportURL() const;

    Q_INVOKABLE void openSettings();
    Q_INVOKABLE void signOut();
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void selectSection(int number);
    Q_INVOKABLE void openHelp();

Q_SIGNALS:
    void canRefreshChanged();

private:
    std::function<async::Task<void>()> signOut_;
    std::function<void()> refreshAction_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
