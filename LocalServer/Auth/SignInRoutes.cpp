#include "SignInRoutes.h"

#include "ClerkError.h"
#include "EmailAddress.h"
#include "GuessLimits.h"
#include "PasswordHash.h"
#include "PasswordPolicy.h"
#include "RandomId.h"
#include "SecretHash.h"
#include "ServerContext.h"
#include "VerificationCode.h"

#include <QJsonArray>
#include <QJsonDocument>
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

std::optional<ServerResponse> SignInRoutes::load(const ServerRequest& request, QString* clientId,
                                                 std::optional<QJsonObject>* state) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign in again.");
    *clientId = client->value("id").toString();
    *state = store_.attempt(request.param(0), *clientId, "sign_in");
    if (!*state)
        return ClerkError::notFound("No sign-in with that id exists on this client.");
    return std::nullopt;
}

void SignInRoutes::registerRoutes(Router& router) {
    router.add("POST", "/v1/client/sign_ins", [this](const ServerRequest& r) { return create(r); });
    router.add("GET", "/v1/client/sign_ins/{id}", [this](const ServerRequest& r) { return reload(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/prepare_first_factor",
               [this](const ServerRequest& r) { return prepareFirstFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/attempt_first_factor",
               [this](const ServerRequest& r) { return attemptFirstFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/prepare_second_factor",
               [this](const ServerRequest& r) { return prepareSecondFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/attempt_second_factor",
               [this](const ServerRequest& r) { return attemptSecondFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/reset_password",
               [this](const ServerRequest& r) { return resetPassword(r); });
}

ServerResponse SignInRoutes::create(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    QByteArray newToken;
    const QString clientId = store_.clientOrCreate(request, &newToken).value("id").toString();
    const QString strategy = form.queryItemValue("strategy", QUrl::FullyDecoded);
    const QString identifier =
        EmailAddress::normalized(form.queryItemValue("identifier", QUrl::FullyDecoded));
    const QString password = form.queryItemValue("password", QUrl::FullyDecoded);

    const QString id = RandomId::make("sia");
    QJsonObject state{{"status", "needs_identifier"},
                      {"identifier", QJsonValue()},
                      {"user_id", QJsonValue()},
                      {"first_factor_verification", QJsonValue()},
                      {"second_factor_verification", QJsonValue()},
                      {"created_session_id", QJsonValue()},
                      {"abandon_at", context_.nowMs() + attemptLifetimeMs}};

    if (isOAuthStrategy(strategy))
        return startOAuth(id, clientId, strategy, form.queryItemValue("redirect_url", QUrl::FullyDecoded),
                          state, newToken);
    if (!strategy.isEmpty() && strategy != "password" && strategy != "email_code")
        return withDeviceToken(invalidStrategy(), newToken);
    if (identifier.isEmpty())
        return withDeviceToken(ClerkError::missingParam("identifier"), newToken);
    const auto user = store_.userByEmail(identifier);
    if (!user) {
        return withDeviceToken(ClerkError::response(422, "form_identifier_not_found",
                                                    "Couldn't find your account.",
                                                    "Couldn't find your account.", "identifier"),
                               newToken);
    }
    state["identifier"] = identifier;
    state["user_id"] = user->value("id").toString();
    state["status"] = "needs_first_factor";
    if (!password.isEmpty()) {
        if (auto failure = checkPassword(request, clientId, *user, password))
            return withDeviceToken(*failure, newToken);
        state["first_factor_verification"] = VerificationCode::verification("verified", "password", 1, 0);
        advance(clientId, state);
    }
    store_.saveAttempt(id, clientId, "sign_in", state);
    if (state.value("status").toString() != "complete")
        store_.setClientAttempt(clientId, "sign_in_id", id);
    return store_.envelope(store_.signInJson(id, state), clientId, newToken);
}

void SignInRoutes::advance(const QString& clientId, QJsonObject& state) {
    const auto user = store_.user(state.value("user_id").toString());
    if (user && !user->value("phone").toString().isEmpty() &&
        state.value("second_factor_verification").toObject().value("status").toString() != "verified") {
        state["status"] = "needs_second_factor";
        return;
    }
    const QString strategy = state.value("first_factor_verification").toObject().value("strategy").toString();
    state["status"] = "complete";
    state["created_session_id"] = store_.createSession(clientId, state.value("user_id").toString(), strategy);
    store_.setClientAttempt(clientId, "sign_in_id", {});
}

ServerResponse SignInRoutes::reload(const ServerRequest& request) {
    QString clientId;
    const QString id = request.param(0);
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    const QString nonce = request.query.queryItemValue("rotating_token_nonce", QUrl::FullyDecoded);
    QJsonObject oauth = state->value("oauth").toObject();
    if (!nonce.isEmpty() && nonce == oauth.value("nonce").toString() &&
        !oauth.value("email").toString().isEmpty()) {
        oauth.remove("nonce");
        state->insert("oauth", oauth);
        QJsonObject verification = state->value("first_factor_verification").toObject();
        const QString email = oauth.value("email").toString();
        if (const auto user = store_.userByEmail(email)) {
            verification["status"] = "verified";
            state->insert("first_factor_verification", verification);
            state->insert("identifier", email);
            state->insert("user_id", user->value("id").toString());
            advance(clientId, *state);
        } else {
            // No account yet: the sign-up with transfer=true creates it from this verification.
            verification["status"] = "transferable";
            state->insert("first_factor_verification", verification);
            state->insert("status", "needs_identifier");
        }
        store_.saveAttempt(id, clientId, "sign_in", *state);
    }
    return store_.envelope(store_.signInJson(id, *state), clientId);
}

ServerResponse SignInRoutes::startOAuth(const QString& signInId, const QString& clientId,
                                        const QString& strategy, const QString& redirectUrl,
                                        QJsonObject& state, const QByteArray& newDeviceToken) {
    // The consent stand-in that plays the provider exists on demo servers only.
    if (!context_.options.demo)
        return withDeviceToken(invalidStrategy(), newDeviceToken);
    if (redirectUrl.isEmpty())
        return withDeviceToken(ClerkError::missingParam("redirect_url"), newDeviceToken);
    state["status"] = "needs_first_factor";
    QUrl consent(context_.baseUrl + "/oauth/consent");
    consent.setQuery(QUrlQuery{{"sign_in", signInId}, {"provider", strategy.mid(6)}});
    QJsonObject verification = VerificationCode::verification(
        "unverified", strategy, 0, context_.nowMs() + VerificationCode::lifetimeMs);
    verification["external_verification_redirect_url"] = consent.toString(QUrl::FullyEncoded);
    state["first_factor_verification"] = verification;
    state["oauth"] = QJsonObject{{"provider", strategy.mid(6)}, {"redirect_url", redirectUrl}};
    store_.saveAttempt(signInId, clientId, "sign_in", state);
    store_.setClientAttempt(clientId, "sign_in_id", signInId);
    return store_.envelope(store_.signInJson(signInId, state), clientId, newDeviceToken);
}

ServerResponse SignInRoutes::prepareFirstFactor(const ServerRequest& request) {
    QString clientId;
    const QString id = request.param(0);
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    const QUrlQuery form = request.formBody();
    const QString strategy = form.queryItemValue("strategy", QUrl::FullyDecoded);
    if (isOAuthStrategy(strategy))
        return startOAuth(id, clientId, strategy, form.queryItemValue("redirect_url", QUrl::FullyDecoded),
                          *state, {});
    if (!isEmailCodeStrategy(strategy) || state->value("identifier").toString().isEmpty())
        return invalidStrategy();
    const auto user = store_.user(state->value("user_id").toString());
    if (!user)
        return ClerkError::notFound("The account of this sign-in no longer exists.");
    const QString emailAddressId = form.queryItemValue("email_address_id", QUrl::FullyDecoded);
    if (!emailAddressId.isEmpty() && emailAddressId != user->value("email_id").toString())
        return ClerkError::response(422, "form_param_value_invalid", "is invalid",
                                    "email_address_id is not an email address of this account.",
                                    "email_address_id");
    // One cool-down for every email code of the attempt: they all go to the same inbox.
    if (auto refused = VerificationCode::throttle(state->value("code_sent_at").toInteger(), context_.nowMs()))
        return *refused;
    QJsonObject secrets = state->value("secrets").toObject();
    secrets[strategy] =
        VerificationCode::send(context_, user->value("email").toString(),
                               strategy == "email_code" ? "Sign-in code" : "Password reset code");
    state->insert("secrets", secrets);
    state->insert("code_sent_at", context_.nowMs());
    state->insert("first_factor_verification",
                  VerificationCode::verification("unverified", strategy, 0,
                                                 context_.nowMs() + VerificationCode::lifetimeMs));
    store_.saveAttempt(id, clientId, "sign_in", *state);
    return store_.envelope(store_.signInJson(id, *state), clientId);
}

ServerResponse SignInRoutes::attemptFirstFactor(const ServerRequest& request) {
    QString clientId;
    const QString id = request.param(0);
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    if (state->value("status").toString() != "needs_first_factor")
        return ClerkError::notFound("No sign-in awaiting a first factor with that id exists on this client.");
    const auto user = store_.user(state->value("user_id").toString());
    if (!user)
        return ClerkError::notFound("The account of this sign-in no longer exists.");
    const QUrlQuery form = request.formBody();
    const QString strategy = form.queryItemValue("strategy", QUrl::FullyDecoded);
    if (strategy == "password") {
        if (auto failure =
                checkPassword(request, clientId, *user, form.queryItemValue("password", QUrl::FullyDecoded)))
            return *failure;
        state->insert("first_factor_verification",
                      VerificationCode::verification("verified", "password", 1, 0));
    } else if (isEmailCodeStrategy(strategy)) {
        QJsonObject verification = state->value("first_factor_verification").toObject();
        // A code answers only the strategy it was sent for.
        if (verification.value("strategy").toString() != strategy)
            verification = VerificationCode::verification("unverified", strategy, 0, 0);
        const QString email = user->value("email").toString();
        GuessLimiter guesses = GuessLimits::code(context_, id, email);
        const auto failure = VerificationCode::check(
            verification, state->value("secrets").toObject().value(strategy).toString(),
            form.queryItemValue("code", QUrl::FullyDecoded),
            VerificationCode::acceptsFixedCode(context_, email), context_.nowMs(), &guesses);
        state->insert("first_factor_verification", verification);
        if (failure) {
            store_.saveAttempt(id, clientId, "sign_in", *state);
            return *failure;
        }
    } else {
        return invalidStrategy();
    }
    if (strategy == "reset_password_email_code")
        state->insert("status", "needs_new_password");
    else
        advance(clientId, *state);
    store_.saveAttempt(id, clientId, "sign_in", *state);
    return store_.envelope(store_.signInJson(id, *state), clientId);
}

ServerResponse SignInRoutes::resetPassword(const ServerRequest& request) {
    QString clientId;
    const QString id = request.param(0);
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    if (state->value("status").toString() != "needs_new_password")
        return ClerkError::response(422, "reset_password_not_allowed", "Password reset not allowed",
                                    "Verify a password reset code before setting a new password.");
    const QString userId = state->value("user_id").toString();
    if (!store_.user(userId))
        return ClerkError::notFound("The account of this sign-in no longer exists.");
    const QUrlQuery form = request.formBody();
    if (!form.hasQueryItem("password"))
        return ClerkError::missingParam("password");
    const QString password = form.queryItemValue("password", QUrl::FullyDecoded);
    if (auto failure = PasswordPolicy::check(password))
        return *failure;
    context_.db.exec("UPDATE users SET password_hash = ?, updated_at = ? WHERE id = ?",
                     {PasswordHash::make(password), context_.nowMs(), userId});
    GuessLimits::forgetPasswordGuesses(context_.db, userId);
    if (form.queryItemValue("sign_out_of_other_sessions") == "true")
        store_.revokeSessionsOf(userId);
    advance(clientId, *state);
    store_.saveAttempt(id, clientId, "sign_in", *state);
    return store_.envelope(store_.signInJson(id, *state), clientId);
}

ServerResponse SignInRoutes::prepareSecondFactor(const ServerRequest& request) {
    QString clientId;
    const QString id = request.param(0);
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    if (state->value("status").toString() != "needs_second_factor")
        return ClerkError::notFound(
            "No sign-in awaiting a second factor with that id exists on this client.");
    const auto user = store_.user(state->value("user_id").toString());
    if (!user || user->value("phone").toString().isEmpty() ||
        request.formBody().queryItemValue("strategy") != "phone_code")
        return invalidStrategy();
    QJsonObject secrets = state->value("secrets").toObject();
    secrets["phone_code"] =
        VerificationCode::send(context_, user->value("phone").toString(), "Sign-in code (text message)");
    state->insert("secrets", secrets);
    state->insert("second_factor_verification",
                  VerificationCode::verification("unverified", "phone_code", 0,
                                                 context_.nowMs() + VerificationCode::lifetimeMs));
    store_.saveAttempt(id, clientId, "sign_in", *state);
    return store_.envelope(store_.signInJson(id, *state), clientId);
}

ServerResponse SignInRoutes::attemptSecondFactor(const ServerRequest& request) {
    QString clientId;
    const QString id = request.param(0);
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    if (state->value("status").toString() != "needs_second_factor")
        return ClerkError::notFound(
            "No sign-in awaiting a second factor with that id exists on this client.");
    const auto user = store_.user(state->value("user_id").toString());
    if (!user)
        return ClerkError::notFound("The account of this sign-in no longer exists.");
    const QUrlQuery form = request.formBody();
    const QString strategy = form.queryItemValue("strategy", QUrl::FullyDecoded);
    const QString code = form.queryItemValue("code", QUrl::FullyDecoded).trimmed();
    if (strategy == "phone_code") {
        QJsonObject verification = state->value("second_factor_verification").toObject();
        if (verification.value("strategy").toString() != "phone_code")
            verification = VerificationCode::verification("unverified", "phone_code", 0, 0);
        GuessLimiter guesses = GuessLimits::code(context_, id, user->value("phone").toString());
        const auto failure = VerificationCode::check(
            verification, state->value("secrets").toObject().value("phone_code").toString(), code, false,
            context_.nowMs(), &guesses);
        state->insert("second_factor_verification", verification);
        if (failure) {
            store_.saveAttempt(id, clientId, "sign_in", *state);
            return *failure;
        }
    } else if (strategy == "backup_code") {
        if (code.isEmpty())
            return incorrectCode();
        GuessLimiter guesses =
            GuessLimits::backupCode(context_, user->value("id").toString(), clientId, request.peer);
        if (auto refused = guesses.admit())
            return *refused;
        const QByteArray stored = user->value("backup_code_hashes").toByteArray();
        QJsonArray hashes = QJsonDocument::fromJson(stored).array();
        const QByteArray guess = store_.backupCodeHash(user->value("id").toString(), code).toLatin1();
        // Every stored hash is compared, in constant time, whichever matches.
        qsizetype index = -1;
        for (qsizetype i = 0; i < hashes.size(); ++i) {
            if (SecretHash::same(hashes.at(i).toString().toLatin1(), guess))
                index = i;
        }
        if (index < 0) {
            guesses.failed();
            return incorrectCode();
        }
        hashes.removeAt(index);
        // Each backup code works once: of two requests racing with the same code, only the one
        // that still finds the list it read may use it.
        const int used = context_.db.changed(
            "UPDATE users SET backup_code_hashes = ? WHERE id = ? AND backup_code_hashes = ?",
            {QString::fromUtf8(QJsonDocument(hashes).toJson(QJsonDocument::Compact)), user->value("id"),
             QString::fromUtf8(stored)});
        if (used != 1)
            return incorrectCode();
        guesses.succeeded();
        state->insert("second_factor_verification",
                      VerificationCode::verification("verified", "backup_code", 1, 0));
    } else {
        return invalidStrategy();
    }
    advance(clientId, *state);
    store_.saveAttempt(id, clientId, "sign_in", *state);
    return store_.envelope(store_.signInJson(id, *state), clientId);
}
