#include "OrbeloMacCommands.h"

#include "AuthKit.h"
#include "NotificationCenter.h"
#include "RootShellModel.h"
#include "RootTab.h"
#include "SupportLinks.h"

#include <QDesktopServices>

OrbeloMacCommands::OrbeloMacCommands(QObject* parent)
    : OrbeloMacCommands([] { return AuthKit::signOut(); }, parent) {}

OrbeloMacCommands::OrbeloMacCommands(std::function<async::Task<void>()> signOut, QObject* parent)
    : QObject(parent), signOut_(std::move(signOut)) {}

void OrbeloMacCommands::setRefreshAction(std::function<void()> action) {
    const bool had = canRefresh();
    refreshAction_ = std::move(action);
    if (had != canRefresh())
        Q_EMIT canRefreshChanged();
}

QVariantList OrbeloMacCommands::goItems() const {
    QVariantList items;
    for (int number = 1; number <= 7; ++number)
        items.append(
            QVariantMap{{QStringLiteral("number"), number},
                        {QStringLiteral("label"), RootTabs::label(*RootTabs::forSectionNumber(number))}});
    return items;
}

QUrl OrbeloMacCommands::supportURL() const {
    return SupportLinks::contactSupport();
}

void OrbeloMacCommands::openSettings() {
    NotificationCenter::shared().post(openSettingsNotification);
}

void OrbeloMacCommands::signOut() {
    tasks_.spawn(signOut_());
}

void OrbeloMacCommands::refresh() {
    if (refreshAction_)
        refreshAction_();
}

void OrbeloMacCommands::selectSection(int number) {
    NotificationCenter::shared().post(RootShellModel::selectSectionNotification, number);
}

void OrbeloMacCommands::openHelp() {
    QDesktopServices::openUrl(supportURL());
}
