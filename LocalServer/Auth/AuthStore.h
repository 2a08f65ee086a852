#pragma once

#include "Auth/SignInAttempt.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <QJsonObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

struct ServerContext;

// Users, device clients and sessions of the auth service, and their wire objects.
class AuthStore {
public:
    static constexpr qint64 sessionLifetimeMs = 7LL * 24 * 3600 * 1000;
    static constexpr qint64 sessionAbandonMs = 30LL * 24 * 3600 * 1000;
    static constexpr int tokenLifetimeSeconds = 60;

    explicit AuthStore(ServerContext& context) : context_(context) {}

    // The client named by the request's device token ("Authorization"), if any. Clients keep
    // only their token's hash.
    std::optional<QVariantMap> clientFor(const ServerRequest& request);
    // As clientFor, creating a client and a device token for a device that has none.
    QVariantMap clientOrCreate(const ServerRequest& request, QByteArray* newDeviceToken);
    // Marks the client changed: updated_at becomes now, and always grows.
    void touchClient(const QString& clientId);
    void setClientAttempt(const QString& clientId, const QString& column, const QString& attemptId);

    // A user's backup codes are kept as keyed hashes: eight digits hashed without the server's
    // secret would be found by trying them all.
    QString backupCodeHash(const QString& userId, const QString& code) const;
    // The JSON list of the hashes of `codes`, as backup_code_hashes holds them.
    QString backupCodeHashes(const QString& userId, const QStringList& codes) const;
    // Inside the caller's transaction: replaces the device tokens and backup codes that older
    // versions stored in plain text with their hashes.
    bool hashStoredSecrets();
    // Sets the account's phone second factor and replaces its backup codes.
    void setSecondFactor(const QString& userId, const QString& phone, const QStringList& backupCodes);

    enum class BackupCodeUse { Used, Wrong, Taken };
    // Spends one of the account's backup codes. Each works once: of two requests racing with the
    // same code only one gets Used, the other Taken.
    BackupCodeUse useBackupCode(const QVariantMap& user, const QString& code);
    // A new password, which also forgets the wrong guesses at the old one.
    void setPassword(const QString& userId, const QString& passwordHash);

    std::optional<QVariantMap> user(const QString& id);
    std::optional<QVariantMap> userByEmail(const QString& email);
    QString createUser(const QString& email, const QString& passwordHash, const QString& firstName,
                       const QString& lastName);
    // Removes the user and every row that names them in one transaction: sessions, sign-in and
    // sign-up attempts, mail to their address or phone, and their Orbelo data (files are the
    // caller's). False when it could not be written; the account is then unchanged.
    bool deleteUser(const QString& userId);

    QString createSession(const QString& clientId, const QString& userId, const QString& strategy);
    // The session with its status brought up to date ("expired", "abandoned" by time).
    std::optional<QVariantMap> session(const QString& id);
    void setSessionStatus(const QString& id, const QString& status);
    // Ends every active session of the user, on all devices.
    void revokeSessionsOf(const QString& userId);
    bool isSessionActive(const QString& id);
    // The account's most recently used session that is active and not expired.
    std::optional<QString> latestActiveSession(const QString& userId);
    // A token was issued for the session.
    void markSessionUsed(const QString& sessionId);
    // The session is in use on its client, which makes it the client's last active one.
    void makeSessionCurrent(const QString& sessionId, const QString& clientId);
    // Signs the client out of every session and forgets its sign-in and sign-up.
    void endSessionsOf(const QString& clientId);

    std::optional<SignInAttempt> signIn(const QString& id, const QString& clientId);
    // The sign-in `id` on whichever client started it.
    std::optional<SignInAttempt> signIn(const QString& id);
    // The sign-in the client is in the middle of.
    std::optional<SignInAttempt> currentSignIn(const QString& clientId);
    void save(const SignInAttempt& attempt);
    std::optional<QJsonObject> signUp(const QString& id, const QString& clientId);
    void saveSignUp(const QString& id, const QString& clientId, const QJsonObject& state);

    QJsonObject clientJson(const QString& clientId);
    QJsonObject sessionJson(const QVariantMap& session);
    QJsonObject userJson(const QVariantMap& user);
    QJsonObject signInJson(const SignInAttempt& attempt);
    QJsonObject signUpJson(const QString& id, const QJsonObject& state);

    // {"response": response, "client": <client>} with the device token header when one was issued.
    ServerResponse envelope(const QJsonValue& response, const QString& clientId,
                            const QByteArray& newDeviceToken = {});

private:
    // The sign-in and sign-up attempts that name the account by id or by address.
    QVariantList attemptsNaming(const QString& userId, const QString& email);
    std::optional<QJsonObject> attempt(const QString& id, const QString& clientId, const QString& kind);
    void saveAttempt(const QString& id, const QString& clientId, const QString& kind,
                     const QJsonObject& state);

    ServerContext& context_;
};
