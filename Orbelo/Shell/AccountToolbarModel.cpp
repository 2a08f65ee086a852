#include "Shell/AccountToolbarModel.h"

#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Common/CurrentUser.h"
#include "Gamification/GamificationAPI.h"
#include "Rewards/RewardEffectText.h"

namespace {

std::optional<QString> present(const std::optional<QString>& text) {
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    return trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
}

} // namespace

AccountToolbarModel::AccountToolbarModel(QObject* parent)
    : AccountToolbarModel([] { return AuthSession::signOut(); }, parent, AuthSession::makeAPIClient()) {
    CurrentUser::follow(this, [this](const std::optional<User>& user) { setUser(user); });
}

AccountToolbarModel::AccountToolbarModel(SignOutCommand::SignOut signOut, QObject* parent,
                                         std::optional<APIClient> badges)
    : QObject(parent), signOut_(std::move(signOut)), badges_(std::move(badges)) {
    connect(&signOut_, &SignOutCommand::isRunningChanged, this, &AccountToolbarModel::isSigningOutChanged);
}

void AccountToolbarModel::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    if (context) {
        connect(context, &AppContext::settingsRequested, this, [this] { setShowSettings(true); });
        connect(context, &AppContext::rewardsRequested, this, [this] { setShowRewards(true); });
        connect(context, &AppContext::notificationsRequested, this, [this] { setShowNotifications(true); });
        connect(context, &AppContext::rewardsChanged, this, &AccountToolbarModel::loadBadge);
    }
    Q_EMIT contextChanged();
}

void AccountToolbarModel::setUser(const std::optional<User>& user) {
    const QString before = displayName() + initials();
    const bool otherUser = (user ? user->id : QString()) != (user_ ? user_->id : QString());
    user_ = user;
    if (otherUser) {
        // The last user's badge is not this one's.
        tasks_.cancelAll();
        scholarBadge_ = false;
        loadBadge();
        Q_EMIT userChanged();
    } else if (before != displayName() + initials()) {
        Q_EMIT userChanged();
    }
}

QString AccountToolbarModel::badgeText() const {
    return scholarBadge_ ? RewardEffectText::scholarBadgeText : QString();
}

void AccountToolbarModel::setScholarBadge(bool owned) {
    if (owned == scholarBadge_)
        return;
    scholarBadge_ = owned;
    Q_EMIT userChanged();
}

QString AccountToolbarModel::accessibleLabel() const {
    return QStringLiteral("Account: ") + displayName() +
           (scholarBadge_ ? QStringLiteral(", Scholar Badge") : QString());
}

void AccountToolbarModel::loadBadge() {
    if (!badges_ || !user_)
        return;
    // Not known is shown as not owned; the next purchase or sign-in asks again.
    tasks_.spawn(
        ownsBadge(*badges_), [this](bool owned) { setScholarBadge(owned); }, [](std::exception_ptr) {});
}

async::Task<bool> AccountToolbarModel::ownsBadge(APIClient client) {
    co_return (co_await GamificationAPI(client).summary()).scholarBadge.value_or(false);
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
