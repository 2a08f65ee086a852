#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Shell/SignOutCommand.h"

#include <QPointer>
#include <QQuickItem>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class AppContext;
class Refreshable;

// The menu bar's commands: "Settings…", "Sign Out", "Refresh" for the focused screen, the "Go"
// menu and "Orbelo Help". Commands reach the screens through the app context's signals; Refresh
// reaches the screen that attached `Refreshable` nearest above the window's focus item, or when
// the focus is in no screen, the one shown last.
class MenuCommands : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool canRefresh READ canRefresh NOTIFY canRefreshChanged)
    Q_PROPERTY(QQuickItem* focusItem READ focusItem WRITE setFocusItem NOTIFY focusItemChanged)
    Q_PROPERTY(QVariantList goItems READ goItems CONSTANT)
    Q_PROPERTY(QUrl supportURL READ supportURL CONSTANT)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    explicit MenuCommands(QObject* parent = nullptr);
    // `signOut` replaces AuthSession::signOut (tests).
    MenuCommands(SignOutCommand::SignOut signOut, QObject* parent = nullptr);

    bool canRefresh() const;
    // The window's focus item.
    QQuickItem* focusItem() const { return focusItem_; }
    void setFocusItem(QQuickItem* item);
    // {number, label} for "Study" … "Notifications", numbered 1 to 7.
    QVariantList goItems() const;
    QUrl supportURL() const;
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

    Q_INVOKABLE void openSettings();
    Q_INVOKABLE void signOut();
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void selectSection(int number);
    Q_INVOKABLE void openHelp();

Q_SIGNALS:
    void canRefreshChanged();
    void focusItemChanged();
    void contextChanged();

private:
    SignOutCommand signOut_;
    Refreshable* target() const;
    void updateCanRefresh();

    QPointer<QQuickItem> focusItem_;
    QPointer<AppContext> context_;
    bool couldRefresh_ = false;
};
