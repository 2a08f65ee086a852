#include "Settings/SettingsModel.h"

#include "Auth/AuthSession.h"
#include "Common/CurrentUser.h"
#include "Common/FailureMessage.h"
#include "Common/SupportLinks.h"
#include "User/UserAPI.h"

#include <QDesktopServices>

SettingsModel::SettingsModel(QObject* parent)
    : SettingsModel(
          AuthSession::makeAPIClient(), [] { return AuthSession::signOut(); }, parent) {
    CurrentUser::follow(this, [this](const std::optional<User>& user) { setUser(user); });
}

SettingsModel::SettingsModel(APIClient client, SignOutCommand::SignOut signOut, QObject* parent)
    : QObject(parent), client_(std::move(client)), signOut_(std::move(signOut)) {
    connect(&signOut_, &SignOutCommand::isRunningChanged, this, &SettingsModel::isSigningOutChanged);
}

void SettingsModel::setUser(const std::optional<User>& user) {
    const QString email = user ? user->primaryEmailAddress().value_or(QString()) : QString();
    if (email == email_)
        return;
    email_ = email;
    Q_EMIT emailChanged();
}

QUrl SettingsModel::contactSupportURL() const {
    return SupportLinks::contactSupport();
}

QUrl SettingsModel::emailUsURL() const {
    return SupportLinks::emailUs();
}

QString SettingsModel::supportEmail() const {
    return SupportLinks::supportEmail();
}

QUrl SettingsModel::termsURL() const {
    return SupportLinks::termsOfUse();
}

QUrl SettingsModel::privacyURL() const {
    return SupportLinks::privacyPolicy();
}

void SettingsModel::openLink(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void SettingsModel::signOut() {
    signOut_.run();
}

void SettingsModel::deleteAccount() {
    if (isDeletingAccount_)
        return;
    setDeletionMessage({});
    setDeleting(true);
    tasks_.spawn(runDeletion(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     setDeleting(false);
                     setDeletionMessage(deletionFailureMessage(error));
                 }));
}

async::Task<void> SettingsModel::runDeletion(SettingsModel* self) {
    const UserAPI api(self->client_);
    const DeleteAccountResponse answer = co_await api.deleteAccount();
    // The server removes the data first and the sign-in record last; any other status than
    // "deleted" means the second step did not go through.
    if (answer.status != QLatin1String("deleted")) {
        self->setDeleting(false);
        self->setDeletionMessage(partialDeletionMessage);
        co_return;
    }
    co_await self->signOut_.signOut();
    self->setDeleting(false);
}

QString SettingsModel::deletionFailureMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized)
            return sessionExpiredMessage;
    } catch (...) {
    }
    return QStringLiteral("Couldn't delete your account on the server: ") + FailureMessage::describe(error);
}

void SettingsModel::setDeleting(bool deleting) {
    if (deleting == isDeletingAccount_)
        return;
    isDeletingAccount_ = deleting;
    Q_EMIT isDeletingAccountChanged();
}

void SettingsModel::setDeletionMessage(const QString& message) {
    if (message == deletionMessage_)
        return;
    deletionMessage_ = message;
    Q_EMIT deletionMessageChanged();
}
