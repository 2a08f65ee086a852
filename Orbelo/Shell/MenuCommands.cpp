#include "MenuCommands.h"

#include "AuthKit.h"
#include "NotificationCenter.h"
#include "Refreshable.h"
#include "RootShellModel.h"
#include "RootTab.h"
#include "SupportLinks.h"

#include <QDesktopServices>

MenuCommands::MenuCommands(QObject* parent) : MenuCommands([] { return AuthKit::signOut(); }, parent) {}

MenuCommands::MenuCommands(SignOutCommand::SignOut signOut, QObject* parent)
    : QObject(parent), signOut_(std::move(signOut)) {}

bool MenuCommands::canRefresh() const {
    return target_ && target_->isEnabled() && targetScreen_ && targetScreen_->isVisible();
}

void MenuCommands::setFocusItem(QQuickItem* item) {
    if (focusItem_ == item)
        return;
    focusItem_ = item;
    for (QQuickItem* screen = item; screen; screen = screen->parentItem())
        if (Refreshable* refreshable = Refreshable::of(screen)) {
            setTarget(refreshable, screen);
            break;
        }
    Q_EMIT focusItemChanged();
}

void MenuCommands::setTarget(Refreshable* target, QQuickItem* screen) {
    for (const QMetaObject::Connection& connection : targetConnections_)
        disconnect(connection);
    target_ = target;
    targetScreen_ = screen;
    targetConnections_ = {
        connect(target, &Refreshable::enabledChanged, this, &MenuCommands::updateCanRefresh),
        connect(screen, &QQuickItem::visibleChanged, this, &MenuCommands::updateCanRefresh),
        connect(screen, &QObject::destroyed, this, &MenuCommands::updateCanRefresh)};
    updateCanRefresh();
}

void MenuCommands::updateCanRefresh() {
    if (couldRefresh_ == canRefresh())
        return;
    couldRefresh_ = canRefresh();
    Q_EMIT canRefreshChanged();
}

QVariantList MenuCommands::goItems() const {
    QVariantList items;
    for (int number = 1; number <= 7; ++number)
        items.append(
            QVariantMap{{QStringLiteral("number"), number},
                        {QStringLiteral("label"), RootTabs::label(*RootTabs::forSectionNumber(number))}});
    return items;
}

QUrl MenuCommands::supportURL() const {
    return SupportLinks::contactSupport();
}

void MenuCommands::openSettings() {
    NotificationCenter::shared().post(openSettingsNotification);
}

void MenuCommands::signOut() {
    signOut_.run();
}

void MenuCommands::refresh() {
    if (canRefresh())
        Q_EMIT target_->requested();
}

void MenuCommands::selectSection(int number) {
    NotificationCenter::shared().post(RootShellModel::selectSectionNotification, number);
}

void MenuCommands::openHelp() {
    QDesktopServices::openUrl(supportURL());
}
