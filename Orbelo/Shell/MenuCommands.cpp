#include "Shell/MenuCommands.h"

#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Common/SupportLinks.h"
#include "Shell/Refreshable.h"
#include "Shell/RefreshableRegistry.h"
#include "Shell/RootTab.h"

#include <QDesktopServices>

MenuCommands::MenuCommands(QObject* parent) : MenuCommands([] { return AuthSession::signOut(); }, parent) {}

MenuCommands::MenuCommands(SignOutCommand::SignOut signOut, QObject* parent)
    : QObject(parent), signOut_(std::move(signOut)) {
    // Queued: a screen being destroyed tells of it before its items are gone.
    connect(&RefreshableRegistry::shared(), &RefreshableRegistry::changed, this,
            &MenuCommands::updateCanRefresh, Qt::QueuedConnection);
}

bool MenuCommands::canRefresh() const {
    const Refreshable* refreshable = target();
    return refreshable && refreshable->isEnabled() && refreshable->isShown();
}

Refreshable* MenuCommands::target() const {
    for (QQuickItem* item = focusItem_; item; item = item->parentItem())
        if (Refreshable* refreshable = Refreshable::of(item))
            return refreshable;
    return RefreshableRegistry::shared().lastShown();
}

void MenuCommands::setFocusItem(QQuickItem* item) {
    if (focusItem_ == item)
        return;
    focusItem_ = item;
    Q_EMIT focusItemChanged();
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

void MenuCommands::setContext(AppContext* context) {
    if (context == context_)
        return;
    context_ = context;
    Q_EMIT contextChanged();
}

void MenuCommands::openSettings() {
    if (context_)
        Q_EMIT context_->settingsRequested();
}

void MenuCommands::signOut() {
    signOut_.run();
}

void MenuCommands::refresh() {
    if (canRefresh())
        Q_EMIT target()->requested();
}

void MenuCommands::selectSection(int number) {
    if (context_)
        Q_EMIT context_->sectionRequested(number);
}

void MenuCommands::openHelp() {
    QDesktopServices::openUrl(supportURL());
}
