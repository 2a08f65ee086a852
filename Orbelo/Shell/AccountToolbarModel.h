#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Shell/SignOutCommand.h"
#include "TaskScope.h"
#include "User.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

class AppContext;

// The account menu in the shell's toolbar: who is signed in, its four items, and the sheets they
// open. The context's settingsRequested, rewardsRequested and notificationsRequested open them too.
class AccountToolbarModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString displayName READ displayName NOTIFY userChanged)
    Q_PROPERTY(QString initials READ initials NOTIFY userChanged)
    // "Scholar" beside the name while the user owns the Scholar Badge, else empty.
    Q_PROPERTY(QString badgeText READ badgeText NOTIFY userChanged)
    Q_PROPERTY(QString accessibleLabel READ accessibleLabel NOTIFY userChanged)
    Q_PROPERTY(int unreadCount READ unreadCount WRITE setUnreadCount NOTIFY unreadCountChanged)
    Q_PROPERTY(QString notificationsTitle READ notificationsTitle NOTIFY unreadCountChanged)
    Q_PROPERTY(bool isSigningOut READ isSigningOut NOTIFY isSigningOutChanged)
    Q_PROPERTY(bool showNotifications READ showNotifications WRITE setShowNotifications NOTIFY sheetsChanged)
    Q_PROPERTY(bool showRewards READ showRewards WRITE setShowRewards NOTIFY sheetsChanged)
    Q_PROPERTY(bool showSettings READ showSettings WRITE setShowSettings NOTIFY sheetsChanged)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    // Follows the shared auth client's current user.
    explicit AccountToolbarModel(QObject* parent = nullptr);
    // `signOut` replaces AuthSession::signOut (tests); the user is set with setUser. With `badges`, the
    // badge is read from the gamification summary whenever the user changes or a reward is bought.
    AccountToolbarModel(SignOutCommand::SignOut signOut, QObject* parent = nullptr,
                        std::optional<APIClient> badges = std::nullopt);

    void setUser(const std::optional<User>& user);
    QString displayName() const;
    QString initials() const;
    QString badgeText() const;
    void setScholarBadge(bool owned);
    // "Account: Ada Lovelace", then ", Scholar Badge" when owned.
    QString accessibleLabel() const;
    int unreadCount() const { return unreadCount_; }
    void setUnreadCount(int count);
    QString notificationsTitle() const;
    bool isSigningOut() const { return signOut_.isRunning(); }
    bool showNotifications() const { return showNotifications_; }
    void setShowNotifications(bool show);
    bool showRewards() const { return showRewards_; }
    void setShowRewards(bool show);
    bool showSettings() const { return showSettings_; }
    void setShowSettings(bool show);
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

    Q_INVOKABLE void signOut();

    // First and last name when both are there, the first name alone, else the e-mail address,
    // else "Signed in". Blank parts count as missing; a last name alone is not used.
    static QString displayName(const std::optional<QString>& firstName,
                               const std::optional<QString>& lastName, const std::optional<QString>& email);
    // The badge: the first letters of the names shown, or of the e-mail address shown, uppercased.
    static QString initials(const std::optional<QString>& firstName, const std::optional<QString>& lastName,
                            const std::optional<QString>& email);

Q_SIGNALS:
    void userChanged();
    void unreadCountChanged();
    void isSigningOutChanged();
    void sheetsChanged();
    void contextChanged();

private:
    std::optional<QString> primaryEmail() const;
    void loadBadge();
    static async::Task<bool> ownsBadge(APIClient client);

    SignOutCommand signOut_;
    std::optional<User> user_;
    int unreadCount_ = 0;
    bool showNotifications_ = false;
    bool showRewards_ = false;
    bool showSettings_ = false;
    bool scholarBadge_ = false;
    std::optional<APIClient> badges_;
    QPointer<AppContext> context_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
