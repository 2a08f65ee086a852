#include "Auth/GuessLimits.h"

#include "Auth/GuessCounterStore.h"
#include "ServerContext.h"

namespace GuessLimits {
namespace {
QString addressKey(const QString& address) {
    return "address:" + address.trimmed().toLower();
}

QString passwordKey(const QString& userId) {
    return "password:" + userId;
}

QString backupCodeKey(const QString& userId) {
    return "backup_code:" + userId;
}

GuessLimiter& countDevice(GuessLimiter& limiter, const QString& clientId, const QHostAddress& peer) {
    return limiter.count("client:" + clientId, secretsPerClient)
        .count("peer:" + peer.toString(), secretsPerPeer);
}
} // namespace

GuessLimiter code(ServerContext& context, const QString& attemptId, const QString& address) {
    GuessLimiter limiter(context.db, context.nowMs(), QStringLiteral("Too many incorrect codes."),
                         QStringLiteral("code"));
    limiter.count("attempt:" + attemptId, codesPerAttempt).count(addressKey(address), codesPerAddress);
    return limiter;
}

GuessLimiter password(ServerContext& context, const QString& userId, const QString& clientId,
                      const QHostAddress& peer) {
    GuessLimiter limiter(context.db, context.nowMs(), QStringLiteral("Too many incorrect passwords."),
                         QStringLiteral("password"));
    countDevice(limiter.count(passwordKey(userId), passwordsPerAccount), clientId, peer);
    return limiter;
}

GuessLimiter backupCode(ServerContext& context, const QString& userId, const QString& clientId,
                        const QHostAddress& peer) {
    GuessLimiter limiter(context.db, context.nowMs(), QStringLiteral("Too many incorrect backup codes."),
                         QStringLiteral("code"));
    countDevice(limiter.count(backupCodeKey(userId), backupCodesPerAccount), clientId, peer);
    return limiter;
}

void forgetPasswordGuesses(Database& db, const QString& userId) {
    GuessCounterStore(db).forget({passwordKey(userId)});
}

void forgetAccount(Database& db, const QString& userId, const QString& email, const QString& phone) {
    GuessCounterStore(db).forget(
        {passwordKey(userId), backupCodeKey(userId), addressKey(email), addressKey(phone)});
}
} // namespace GuessLimits
