#include "Auth/SignInRoutes.h"

#include "Auth/ClerkError.h"
#include "Auth/EmailAddress.h"
#include "Auth/GuessLimits.h"
#include "Auth/PasswordHash.h"
#include "Auth/PasswordPolicy.h"
#include "Auth/VerificationCode.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QUrl>

namespace {
constexpr qint64 attemptLifetimeMs = 24LL * 3600 * 1000;

// The first factors whose code goes to the account's email address.
bool isEmailCodeStrategy(const QString& strategy) {
    return strategy == "email_code" || strategy == "reset_password_email_code";
}

bool isOAuthStrategy(const QString& strategy) {
    return strategy == "oauth_google" || strategy == "oauth_apple";
}

ServerResponse invalidStrategy() {
    return ClerkError::response(422, "strategy_for_user_invalid", "Invalid verification strategy",
                                "The verification strategy is not valid for this account.", "strategy");
}

ServerResponse withDeviceToken(ServerResponse response, const QByteArray& token) {
    if (!token.isEmpty())
        response.setHeader("Authorization", token);
    return response;
}

ServerResponse incorrectCode() {
    return ClerkError::response(422, "form_code_incorrect", "Incorrect code", "Incorrect code", "code");
}

ServerResponse accountGone() {
    return ClerkError::notFound("The account of this sign-in no longer exists.");
}

// The answer to a step on a sign-in that is not in the status the step needs.
ServerResponse notAwaiting(SignInAttempt::Status awaited) {
    switch (awaited) {
    case SignInAttempt::Status::NeedsFirstFactor:
        return ClerkError::notFound("No sign-in awaiting a first factor with that id exists on this client.");
    case SignInAttempt::Status::NeedsSecondFactor:
        return ClerkError::notFound(
            "No sign-in awaiting a second factor with that id exists on this client.");
    case SignInAttempt::Status::NeedsNewPassword:
        return ClerkError::response(422, "reset_password_not_allowed", "Password reset not allowed",
                                    "Verify a password reset code before setting a new password.");
    case SignInAttempt::Status::NeedsIdentifier:
    case SignInAttempt::Status::Complete:
        break;
    }
    return ClerkError::notFound("No sign-in with that id exists on this client.");
}

QString formValue(const QUrlQuery& form, const QString& name) {
    return form.queryItemValue(name, QUrl::FullyDecoded);
}
} // namespace

std::optional<ServerResponse> SignInRoutes::checkPassword(const ServerRequest& request,
                                                          const QString& clientId, const QVariantMap& user,
                                                          const QString& password) {
    GuessLimiter guesses =
        GuessLimits::password(context_, user.value("id").toString(), clientId, request.peer);
    // Refused guesses cost no hashing.
    if (auto refused = guesses.admit())
        return refused;
    if (!PasswordHash::matches(password, user.value("password_hash").toString())) {
        guesses.failed();
        return ClerkError::response(422, "form_password_incorrect", "Password is incorrect.",
                                    "Password is incorrect. Try again, or use another method.", "password");
    }
    guesses.succeeded();
    return std::nullopt;
}

ServerResponse SignInRoutes::update(const ServerRequest& request,
                                    std::optional<SignInAttempt::Status> awaited, const Step& step) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign in again.");
    auto attempt = store_.signIn(request.param(0), client->value("id").toString());
    if (!attempt)
        return ClerkError::notFound("No sign-in with that id exists on this client.");
    if (awaited && attempt->status != *awaited)
        return notAwaiting(*awaited);
    const SignInAttempt loaded = *attempt;
    const auto refused = step(*attempt);
    if (*attempt != loaded)
        store_.save(*attempt);
    if (refused)
        return *refused;
    return store_.envelope(store_.signInJson(*attempt), attempt->clientId);
}

ServerResponse SignInRoutes::create(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    QByteArray newToken;
    SignInAttempt attempt;
    attempt.id = RandomId::make("sia");
    attempt.clientId = store_.clientOrCreate(request, &newToken).value("id").toString();
    attempt.abandonAtMs = context_.nowMs() + attemptLifetimeMs;
    const QString strategy = formValue(form, "strategy");
    const QString identifier = EmailAddress::normalized(formValue(form, "identifier"));
    const QString password = formValue(form, "password");

    const auto refused = [&]() -> std::optional<ServerResponse> {
        if (isOAuthStrategy(strategy))
            return startOAuth(attempt, strategy, formValue(form, "redirect_url"));
        if (!strategy.isEmpty() && strategy != "password" && strategy != "email_code")
            return invalidStrategy();
        if (identifier.isEmpty())
            return ClerkError::missingParam("identifier");
        const auto user = store_.userByEmail(identifier);
        if (!user) {
            return ClerkError::response(422, "form_identifier_not_found", "Couldn't find your account.",
                                        "Couldn't find your account.", "identifier");
        }
        attempt.identifier = identifier;
        attempt.userId = user->value("id").toString();
        attempt.status = SignInAttempt::Status::NeedsFirstFactor;
        if (!password.isEmpty()) {
            if (auto failure = checkPassword(request, attempt.clientId, *user, password))
                return failure;
            attempt.firstFactorVerification = VerificationCode::verification("verified", "password", 1, 0);
            advance(attempt);
        }
        return std::nullopt;
    }();
    if (refused)
        return withDeviceToken(*refused, newToken);
    store_.save(attempt);
    if (attempt.status != SignInAttempt::Status::Complete)
        store_.setClientAttempt(attempt.clientId, "sign_in_id", attempt.id);
    return store_.envelope(store_.signInJson(attempt), attempt.clientId, newToken);
}

void SignInRoutes::advance(SignInAttempt& attempt) {
    const auto user = store_.user(attempt.userId);
    if (user && !user->value("phone").toString().isEmpty() &&
        attempt.secondFactorVerification.value("status").toString() != "verified") {
        attempt.status = SignInAttempt::Status::NeedsSecondFactor;
        return;
    }
    const QString strategy = attempt.firstFactorVerification.value("strategy").toString();
    attempt.status = SignInAttempt::Status::Complete;
    attempt.createdSessionId = store_.createSession(attempt.clientId, attempt.userId, strategy);
    store_.setClientAttempt(attempt.clientId, "sign_in_id", {});
}

ServerResponse SignInRoutes::reload(const ServerRequest& request) {
    const QString nonce = request.query.queryItemValue("rotating_token_nonce", QUrl::FullyDecoded);
    return update(request, std::nullopt, [&](SignInAttempt& attempt) -> std::optional<ServerResponse> {
        const QString email = attempt.oauth.value("email").toString();
        if (nonce.isEmpty() || nonce != attempt.oauth.value("nonce").toString() || email.isEmpty())
            return std::nullopt;
        attempt.oauth.remove("nonce");
        if (const auto user = store_.userByEmail(email)) {
            attempt.firstFactorVerification["status"] = "verified";
            attempt.identifier = email;
            attempt.userId = user->value("id").toString();
            advance(attempt);
        } else {
            // No account yet: the sign-up with transfer=true creates it from this verification.
            attempt.firstFactorVerification["status"] = "transferable";
            attempt.status = SignInAttempt::Status::NeedsIdentifier;
        }
        return std::nullopt;
    });
}

std::optional<ServerResponse> SignInRoutes::startOAuth(SignInAttempt& attempt, const QString& strategy,
                                                       const QString& redirectUrl) {
    // The consent stand-in that plays the provider exists on demo servers only.
    if (!context_.options.demo)
        return invalidStrategy();
    if (redirectUrl.isEmpty())
        return ClerkError::missingParam("redirect_url");
    attempt.status = SignInAttempt::Status::NeedsFirstFactor;
    QUrl consent(context_.baseUrl + "/oauth/consent");
    consent.setQuery(QUrlQuery{{"sign_in", attempt.id}, {"provider", strategy.mid(6)}});
    QJsonObject verification = VerificationCode::verification(
        "unverified", strategy, 0, context_.nowMs() + VerificationCode::lifetimeMs);
    verification["external_verification_redirect_url"] = consent.toString(QUrl::FullyEncoded);
    attempt.firstFactorVerification = verification;
    attempt.oauth = QJsonObject{{"provider", strategy.mid(6)}, {"redirect_url", redirectUrl}};
    return std::nullopt;
}

ServerResponse SignInRoutes::prepareFirstFactor(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    const QString strategy = formValue(form, "strategy");
    return update(request, std::nullopt, [&](SignInAttempt& attempt) -> std::optional<ServerResponse> {
        if (isOAuthStrategy(strategy)) {
            auto refused = startOAuth(attempt, strategy, formValue(form, "redirect_url"));
            if (!refused)
                store_.setClientAttempt(attempt.clientId, "sign_in_id", attempt.id);
            return refused;
        }
        if (!isEmailCodeStrategy(strategy) || attempt.identifier.isEmpty())
            return invalidStrategy();
        const auto user = store_.user(attempt.userId);
        if (!user)
            return accountGone();
        const QString emailAddressId = formValue(form, "email_address_id");
        if (!emailAddressId.isEmpty() && emailAddressId != user->value("email_id").toString())
            return ClerkError::response(422, "form_param_value_invalid", "is invalid",
                                        "email_address_id is not an email address of this account.",
                                        "email_address_id");
        // One cool-down for every email code of the attempt: they all go to the same inbox.
        if (auto refused = VerificationCode::throttle(attempt.codeSentAtMs, context_.nowMs()))
            return refused;
        attempt.secrets[strategy] =
            VerificationCode::send(context_, user->value("email").toString(),
                                   strategy == "email_code" ? "Sign-in code" : "Password reset code");
        attempt.codeSentAtMs = context_.nowMs();
        attempt.firstFactorVerification = VerificationCode::verification(
            "unverified", strategy, 0, context_.nowMs() + VerificationCode::lifetimeMs);
        return std::nullopt;
    });
}

ServerResponse SignInRoutes::attemptFirstFactor(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    const QString strategy = formValue(form, "strategy");
    return update(
        request, SignInAttempt::Status::NeedsFirstFactor,
        [&](SignInAttempt& attempt) -> std::optional<ServerResponse> {
            const auto user = store_.user(attempt.userId);
            if (!user)
                return accountGone();
            if (strategy == "password") {
                if (auto failure =
                        checkPassword(request, attempt.clientId, *user, formValue(form, "password")))
                    return failure;
                attempt.firstFactorVerification =
                    VerificationCode::verification("verified", "password", 1, 0);
            } else if (isEmailCodeStrategy(strategy)) {
                // A code answers only the strategy it was sent for.
                if (attempt.firstFactorVerification.value("strategy").toString() != strategy)
                    attempt.firstFactorVerification =
                        VerificationCode::verification("unverified", strategy, 0, 0);
                const QString email = user->value("email").toString();
                GuessLimiter guesses = GuessLimits::code(context_, attempt.id, email);
                if (auto failure = VerificationCode::check(
                        attempt.firstFactorVerification, attempt.secrets.value(strategy).toString(),
                        formValue(form, "code"), VerificationCode::acceptsFixedCode(context_, email),
                        context_.nowMs(), &guesses))
                    return failure;
            } else {
                return invalidStrategy();
            }
            if (strategy == "reset_password_email_code")
                attempt.status = SignInAttempt::Status::NeedsNewPassword;
            else
                advance(attempt);
            return std::nullopt;
        });
}

ServerResponse SignInRoutes::resetPassword(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    return update(request, SignInAttempt::Status::NeedsNewPassword,
                  [&](SignInAttempt& attempt) -> std::optional<ServerResponse> {
                      if (!store_.user(attempt.userId))
                          return accountGone();
                      if (!form.hasQueryItem("password"))
                          return ClerkError::missingParam("password");
                      const QString password = formValue(form, "password");
                      if (auto failure = PasswordPolicy::check(password))
                          return failure;
                      store_.setPassword(attempt.userId, PasswordHash::make(password));
                      if (form.queryItemValue("sign_out_of_other_sessions") == "true")
                          store_.revokeSessionsOf(attempt.userId);
                      advance(attempt);
                      return std::nullopt;
                  });
}

ServerResponse SignInRoutes::prepareSecondFactor(const ServerRequest& request) {
    const QString strategy = request.formBody().queryItemValue("strategy");
    return update(request, SignInAttempt::Status::NeedsSecondFactor,
                  [&](SignInAttempt& attempt) -> std::optional<ServerResponse> {
                      const auto user = store_.user(attempt.userId);
                      if (!user || user->value("phone").toString().isEmpty() || strategy != "phone_code")
                          return invalidStrategy();
                      attempt.secrets["phone_code"] = VerificationCode::send(
                          context_, user->value("phone").toString(), "Sign-in code (text message)");
                      attempt.secondFactorVerification = VerificationCode::verification(
                          "unverified", "phone_code", 0, context_.nowMs() + VerificationCode::lifetimeMs);
                      return std::nullopt;
                  });
}

ServerResponse SignInRoutes::attemptSecondFactor(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    const QString strategy = formValue(form, "strategy");
    const QString code = formValue(form, "code").trimmed();
    return update(request, SignInAttempt::Status::NeedsSecondFactor,
                  [&](SignInAttempt& attempt) -> std::optional<ServerResponse> {
                      const auto user = store_.user(attempt.userId);
                      if (!user)
                          return accountGone();
                      if (strategy == "phone_code") {
                          if (attempt.secondFactorVerification.value("strategy").toString() != "phone_code")
                              attempt.secondFactorVerification =
                                  VerificationCode::verification("unverified", "phone_code", 0, 0);
                          GuessLimiter guesses =
                              GuessLimits::code(context_, attempt.id, user->value("phone").toString());
                          if (auto failure =
                                  VerificationCode::check(attempt.secondFactorVerification,
                                                          attempt.secrets.value("phone_code").toString(),
                                                          code, false, context_.nowMs(), &guesses))
                              return failure;
                      } else if (strategy == "backup_code") {
                          if (auto failure = checkBackupCode(request, *user, attempt, code))
                              return failure;
                      } else {
                          return invalidStrategy();
                      }
                      advance(attempt);
                      return std::nullopt;
                  });
}

std::optional<ServerResponse> SignInRoutes::checkBackupCode(const ServerRequest& request,
                                                            const QVariantMap& user, SignInAttempt& attempt,
                                                            const QString& code) {
    if (code.isEmpty())
        return incorrectCode();
    GuessLimiter guesses =
        GuessLimits::backupCode(context_, user.value("id").toString(), attempt.clientId, request.peer);
    if (auto refused = guesses.admit())
        return refused;
    switch (store_.useBackupCode(user, code)) {
    case AuthStore::BackupCodeUse::Wrong:
        guesses.failed();
        return incorrectCode();
    case AuthStore::BackupCodeUse::Taken:
        return incorrectCode();
    case AuthStore::BackupCodeUse::Used:
        break;
    }
    guesses.succeeded();
    attempt.secondFactorVerification = VerificationCode::verification("verified", "backup_code", 1, 0);
    return std::nullopt;
}
