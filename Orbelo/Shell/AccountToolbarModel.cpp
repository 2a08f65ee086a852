#include "AccountToolbarModel.h"

#include "AuthKit.h"
#include "CurrentUser.h"
#include "MenuCommands.h"
#include "NotificationCenter.h"

namespace {

std::optional<QString> present(const std::optional<QString>& text) {
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    return trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
}

} // namespace

AccountToolbarModel::AccountToolbarModel(QObject* parent)
    : AccountToolbarModel([] { return AuthKit::signOut(); }, parent) {
    CurrentUser::follow(this, [this](const std::optional<User>& user) { setUser(user); });
}

AccountToolbarModel::AccountToolbarModel(SignOutCommand::SignOut signOut, QObject* parent)
    : QObject(parent), signOut_(std::move(signOut)) {
    connect(&signOut_, &SignOutCommand::isRunningChanged, this, &AccountToolbarModel::isSigningOutChanged);
    NotificationCenter& center = NotificationCenter::shared();
    center.observe(MenuCommands::openSettingsNotification, this,
                   [this](const QVariant&) { setShowSettings(true); });
    center.observe(openRewardsNotification, this, [this](const QVariant&) { setShowRewards(true); });
    center.observe(openNotificationsNotification, this,
                   [this](const QVariant&) { setShowNotifications(true); });
}

void AccountToolbarModel::setUser(const std::optional<User>& user) {
    const QString before = displayName() + initials();
    user_ = user;
    if (before != displayName() + initials())
        Q_EMIT userChanged();
}

std::optional<QString> AccountToolbarModel::primaryEmail() const {
    return user_ ? user_->primaryEmailAddress() : std::nullopt;
}

QString AccountToolbarModel::displayName() const {
    return displayName(user_ ? user_->firstName : std::nullopt, user_ ? user_->lastName : std::nullopt,
                       primaryEmail());
}

QString AccountToolbarModel::initials() const {
    return initials(user_ ? user_->firstName : std::nullopt, user_ ? user_->lastName : std::nullopt,
                    primaryEmail());
}

QString AccountToolbarModel::displayName(const std::optional<QString>& firstName,
                                         const std::optional<QString>& lastName,
                                         const std::optional<QString>& email) {
    const auto first = present(firstName), last = present(lastName), mail = present(email);
    if (first && last)
        return *first + u' ' + *last;
    if (first)
        return *first;
    if (mail)
        return *mail;
    return QStringLiteral("Signed in");
}

QString AccountToolbarModel::initials(const std::optional<QString>& firstName,
                                      const std::optional<QString>& lastName,
                                      const std::optional<QString>& email) {
    const auto first = present(firstName), last = present(lastName), mail = present(email);
    if (first)
        return (first->left(1) + (last ? last->left(1) : QString())).toUpper();
    if (mail)
        return mail->left(1).toUpper();
    return {};
}

void AccountToolbarModel::setUnreadCount(int count) {
    if (count == unreadCount_)
        return;
    unreadCount_ = count;
    Q_EMIT unreadCountChanged();
}

QString AccountToolbarModel::notificationsTitle() const {
    return unreadCount_ > 0 ? QStringLiteral("Notifications (%1)").arg(unreadCount_)
                            : QStringLiteral("Notifications");
}

void AccountToolbarModel::setShowNotifications(bool show) {
    if (show == showNotifications_)
        return;
    showNotifications_ = show;
    Q_EMIT sheetsChanged();
}

void AccountToolbarModel::setShowRewards(bool show) {
    if (show == showRewards_)
        return;
    showRewards_ = show;
    Q_EMIT sheetsChanged();
}

void AccountToolbarModel::setShowSettings(bool show) {
    if (show == showSettings_)
        return;
    showSettings_ = show;
    Q_EMIT sheetsChanged();
}

void AccountToolbarModel::signOut() {
    signOut_.run();
}
