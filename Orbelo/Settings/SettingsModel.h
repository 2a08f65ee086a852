#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Shell/SignOutCommand.h"
#include "TaskScope.h"
#include "User.h"
#include "User/DeleteAccountResponse.h"

#include <QUrl>
#include <QtQml/qqmlregistration.h>

// The settings screen's account and support parts: the signed-in address, signing out, the
// support and legal links, and deleting the account. Deletion removes the account on the server
// (its data and its sign-in record) and then signs out; a failure is reported in one line.
class SettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString email READ email NOTIFY emailChanged)
    Q_PROPERTY(bool isSigningOut READ isSigningOut NOTIFY isSigningOutChanged)
    Q_PROPERTY(bool isDeletingAccount READ isDeletingAccount NOTIFY isDeletingAccountChanged)
    Q_PROPERTY(QString deletionMessage READ deletionMessage NOTIFY deletionMessageChanged)
    Q_PROPERTY(QUrl contactSupportURL READ contactSupportURL CONSTANT)
    Q_PROPERTY(QUrl emailUsURL READ emailUsURL CONSTANT)
    Q_PROPERTY(QString supportEmail READ supportEmail CONSTANT)
    Q_PROPERTY(QUrl termsURL READ termsURL CONSTANT)
    Q_PROPERTY(QUrl privacyURL READ privacyURL CONSTANT)
public:
    static inline const QString sessionExpiredMessage =
        QStringLiteral("Your session expired. Please sign in again.");
    static inline const QString partialDeletionMessage = QStringLiteral(
        "Account data removed, but the auth record may persist. If you can sign back in, contact support.");

    // The shared auth client's user, the app's backend client and AuthSession's sign-out.
    explicit SettingsModel(QObject* parent = nullptr);
    // `signOut` replaces AuthSession::signOut (tests); the user is set with setUser.
    SettingsModel(APIClient client, SignOutCommand::SignOut signOut, QObject* parent = nullptr);

    void setUser(const std::optional<User>& user);
    QString email() const { return email_; }
    bool isSigningOut() const { return signOut_.isRunning(); }
    bool isDeletingAccount() const { return isDeletingAccount_; }
    QString deletionMessage() const { return deletionMessage_; }
    QUrl contactSupportURL() const;
    QUrl emailUsURL() const;
    QString supportEmail() const;
    QUrl termsURL() const;
    QUrl privacyURL() const;

    Q_INVOKABLE void signOut();
    // Runs once the user has confirmed with "Delete".
    Q_INVOKABLE void deleteAccount();
    Q_INVOKABLE void openLink(const QUrl& url);

    // The line shown when the deletion request fails.
    static QString deletionFailureMessage(std::exception_ptr error);

Q_SIGNALS:
    void emailChanged();
    void isSigningOutChanged();
    void isDeletingAccountChanged();
    void deletionMessageChanged();

private:
    static async::Task<void> runDeletion(SettingsModel* self);
    void setDeleting(bool deleting);
    void setDeletionMessage(const QString& message);

    APIClient client_;
    SignOutCommand signOut_;
    QString email_;
    bool isDeletingAccount_ = false;
    QString deletionMessage_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
