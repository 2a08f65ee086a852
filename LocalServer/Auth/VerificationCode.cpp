#include "Auth/VerificationCode.h"

#include "Auth/ClerkError.h"
#include "Auth/GuessLimiter.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

namespace VerificationCode {

QString send(ServerContext& context, const QString& recipient, const QString& purpose) {
    const QString code = RandomId::digits(6);
    context.deliverMail(recipient, purpose, "Your Orbelo verification code is " + code);
    return code;
}

bool acceptsFixedCode(const ServerContext& context, const QString& recipient) {
    return context.options.demo && recipient.trimmed().toLower().endsWith("@example.com");
}

std::optional<ServerResponse> throttle(qint64 lastSentMs, qint64 nowMs) {
    const qint64 leftMs = lastSentMs + resendCooldownMs - nowMs;
    if (lastSentMs <= 0 || leftMs <= 0)
        return std::nullopt;
    // Rounded up, so that a client waiting as told is never refused again.
    return ClerkError::tooManyRequests((leftMs + 999) / 1000);
}

QJsonObject verification(const QString& status, const QString& strategy, int attempts, qint64 expireAt) {
    return QJsonObject{{"status", status},      {"strategy", strategy},
                       {"attempts", attempts},  {"expire_at", expireAt},
                       {"error", QJsonValue()}, {"external_verification_redirect_url", QJsonValue()},
                       {"nonce", QJsonValue()}};
}

std::optional<ServerResponse> check(QJsonObject& verification, const QString& expected, const QString& given,
                                    bool fixedCodeAccepted, qint64 nowMs, GuessLimiter* guesses) {
    if (given.isEmpty())
        return ClerkError::missingParam("code");
    if (verification.value("status").toString() == "failed" ||
        verification.value("attempts").toInt() >= maxAttempts) {
        verification["status"] = "failed";
        return ClerkError::response(422, "verification_failed", "Too many failed attempts",
                                    "You have to try again with the same or another method.", "code");
    }
    if (!expected.isEmpty() && nowMs >= verification.value("expire_at").toInteger()) {
        verification["status"] = "expired";
        return ClerkError::response(422, "verification_expired", "expired",
                                    "This verification has expired. You must create a new one.", "code");
    }
    if (guesses) {
        if (auto refused = guesses->admit())
            return refused;
    }
    verification["attempts"] = verification.value("attempts").toInt() + 1;
    if ((!expected.isEmpty() && given == expected) || (fixedCodeAccepted && given == fixedTestCode)) {
        verification["status"] = "verified";
        if (guesses)
            guesses->succeeded();
        return std::nullopt;
    }
    if (guesses)
        guesses->failed();
    return ClerkError::response(422, "form_code_incorrect", "Incorrect code", "Incorrect code", "code");
}

} // namespace VerificationCode
