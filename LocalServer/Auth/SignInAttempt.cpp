#include "Auth/SignInAttempt.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
using Status = SignInAttempt::Status;

constexpr std::array<std::pair<Status, const char*>, 5> statusNames{{
    {Status::NeedsIdentifier, "needs_identifier"},
    {Status::NeedsFirstFactor, "needs_first_factor"},
    {Status::NeedsSecondFactor, "needs_second_factor"},
    {Status::NeedsNewPassword, "needs_new_password"},
    {Status::Complete, "complete"},
}};

QJsonValue orNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue orNull(const QJsonObject& object) {
    return object.isEmpty() ? QJsonValue() : QJsonValue(object);
}
} // namespace

QString SignInAttempt::statusName(Status status) {
    for (const auto& [value, name] : statusNames) {
        if (value == status)
            return QString::fromLatin1(name);
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<SignInAttempt> SignInAttempt::decode(const QString& id, const QString& clientId,
                                                   const QJsonObject& state) {
    const QString status = state.value("status").toString();
    const auto known = std::find_if(statusNames.begin(), statusNames.end(),
                                    [&](const auto& entry) { return status == entry.second; });
    if (known == statusNames.end())
        return std::nullopt;
    SignInAttempt attempt;
    attempt.id = id;
    attempt.clientId = clientId;
    attempt.status = known->first;
    attempt.identifier = state.value("identifier").toString();
    attempt.userId = state.value("user_id").toString();
    attempt.firstFactorVerification = state.value("first_factor_verification").toObject();
    attempt.secondFactorVerification = state.value("second_factor_verification").toObject();
    attempt.createdSessionId = state.value("created_session_id").toString();
    attempt.abandonAtMs = state.value("abandon_at").toInteger();
    attempt.secrets = state.value("secrets").toObject();
    attempt.codeSentAtMs = state.value("code_sent_at").toInteger();
    attempt.oauth = state.value("oauth").toObject();
    return attempt;
}

QJsonObject SignInAttempt::encode() const {
    QJsonObject state{{"status", statusName(status)},
                      {"identifier", orNull(identifier)},
                      {"user_id", orNull(userId)},
                      {"first_factor_verification", orNull(firstFactorVerification)},
                      {"second_factor_verification", orNull(secondFactorVerification)},
                      {"created_session_id", orNull(createdSessionId)},
                      {"abandon_at", abandonAtMs}};
    if (!secrets.isEmpty())
        state["secrets"] = secrets;
    if (codeSentAtMs != 0)
        state["code_sent_at"] = codeSentAtMs;
    if (!oauth.isEmpty())
        state["oauth"] = oauth;
    return state;
}
