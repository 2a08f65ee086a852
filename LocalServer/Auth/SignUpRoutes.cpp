#include "Auth/SignUpRoutes.h"

#include "Auth/ClerkError.h"
#include "Auth/EmailAddress.h"
#include "Auth/GuessLimits.h"
#include "Auth/PasswordHash.h"
#include "Auth/PasswordPolicy.h"
#include "Auth/SignUpRequirements.h"
#include "Auth/VerificationCode.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
constexpr qint64 attemptLifetimeMs = 24LL * 3600 * 1000;

QString field(const QUrlQuery& form, const QString& name) {
    return form.queryItemValue(name, QUrl::FullyDecoded);
}

ServerResponse withDeviceToken(ServerResponse response, const QByteArray& token) {
    if (!token.isEmpty())
        response.setHeader("Authorization", token);
    return response;
}
} // namespace

ServerResponse SignUpRoutes::reload(const ServerRequest& request) {
    QString clientId;
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    return store_.envelope(store_.signUpJson(request.param(0), *state), clientId);
}

std::optional<ServerResponse> SignUpRoutes::load(const ServerRequest& request, QString* clientId,
                                                 std::optional<QJsonObject>* state) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign up again.");
    *clientId = client->value("id").toString();
    *state = store_.signUp(request.param(0), *clientId);
    if (!*state)
        return ClerkError::notFound("No sign-up with that id exists on this client.");
    return std::nullopt;
}

std::optional<ServerResponse> SignUpRoutes::applyFields(const QUrlQuery& form, QJsonObject& state) {
    if (form.hasQueryItem("email_address")) {
        const QString email = EmailAddress::normalized(field(form, "email_address"));
        static const QRegularExpression shape(R"(^[^@\s]+@[^@\s]+\.[^@\s]+$)");
        if (!shape.match(email).hasMatch())
            return ClerkError::response(422, "form_param_format_invalid", "is invalid",
                                        "email_address must be a valid email address.", "email_address");
        if (store_.userByEmail(email))
            return ClerkError::response(422, "form_identifier_exists", "That email address is taken.",
                                        "That email address is taken. Please try another.", "email_address");
        if (email != state.value("email_address").toString()) {
            state["email_address"] = email;
            state["verification"] = QJsonValue();
        }
    }
    if (form.hasQueryItem("password")) {
        const QString password = field(form, "password");
        if (auto failure = PasswordPolicy::check(password))
            return failure;
        state["password_hash"] = PasswordHash::make(password);
    }
    if (form.hasQueryItem("legal_accepted")) {
        const QString accepted = field(form, "legal_accepted");
        if (accepted != "true" && accepted != "false")
            return ClerkError::response(422, "form_param_format_invalid", "is invalid",
                                        "legal_accepted must be true or false.", "legal_accepted");
        state["legal_accepted"] = accepted == "true";
    }
    for (const QString name : {"first_name", "last_name"}) {
        if (form.hasQueryItem(name))
            state[name] = field(form, name).trimmed();
    }
    return std::nullopt;
}

ServerResponse SignUpRoutes::create(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    QByteArray newToken;
    const QString clientId = store_.clientOrCreate(request, &newToken).value("id").toString();
    if (field(form, "transfer") == "true")
        return transfer(clientId, form, newToken);
    QJsonObject state{{"status", "missing_requirements"},
                      {"email_address", QJsonValue()},
                      {"password_hash", QJsonValue()},
                      {"first_name", QJsonValue()},
                      {"last_name", QJsonValue()},
                      {"verification", QJsonValue()},
                      {"external_account", QJsonValue()},
                      {"created_session_id", QJsonValue()},
                      {"created_user_id", QJsonValue()},
                      {"legal_accepted", false},
                      {"abandon_at", context_.nowMs() + attemptLifetimeMs}};
    if (auto failure = applyFields(form, state))
        return withDeviceToken(*failure, newToken);
    const QString id = RandomId::make("sua");
    store_.saveSignUp(id, clientId, state);
    store_.setClientAttempt(clientId, "sign_up_id", id);
    return store_.envelope(store_.signUpJson(id, state), clientId, newToken);
}

ServerResponse SignUpRoutes::transfer(const QString& clientId, const QUrlQuery& form,
                                      const QByteArray& newDeviceToken) {
    const auto signIn = store_.currentSignIn(clientId);
    const QJsonObject verification = signIn ? signIn->firstFactorVerification : QJsonObject();
    const QString email = signIn ? signIn->oauth.value("email").toString() : QString();
    if (verification.value("status").toString() != "transferable" || email.isEmpty())
        return withDeviceToken(
            ClerkError::response(400, "transfer_unavailable", "Nothing to transfer",
                                 "There is no transferable external account on this client.", "transfer"),
            newDeviceToken);
    if (store_.userByEmail(email))
        return withDeviceToken(
            ClerkError::response(422, "form_identifier_exists", "That email address is taken.",
                                 "That email address is taken. Please try another.", "email_address"),
            newDeviceToken);
    QJsonObject state{{"status", "missing_requirements"},
                      {"email_address", email},
                      {"password_hash", QJsonValue()},
                      {"first_name", QJsonValue()},
                      {"last_name", QJsonValue()},
                      {"legal_accepted", false},
                      {"transfer", true},
                      {"verification", VerificationCode::verification("verified", "email_code", 0, 0)},
                      {"external_account",
                       QJsonObject{{"status", "verified"}, {"strategy", verification.value("strategy")}}},
                      {"created_session_id", QJsonValue()},
                      {"created_user_id", QJsonValue()},
                      {"abandon_at", context_.nowMs() + attemptLifetimeMs}};
    if (auto failure = applyFields(form, state))
        return withDeviceToken(*failure, newDeviceToken);
    const QString id = RandomId::make("sua");
    saveCompleting(id, clientId, state);
    // The OAuth sign-in has done its part; the sign-up carries on from here.
    store_.setClientAttempt(clientId, "sign_in_id", {});
    if (state.value("status").toString() != "complete")
        store_.setClientAttempt(clientId, "sign_up_id", id);
    return store_.envelope(store_.signUpJson(id, state), clientId, newDeviceToken);
}

ServerResponse SignUpRoutes::update(const ServerRequest& request) {
    QString clientId;
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    if (state->value("status").toString() == "complete")
        return ClerkError::response(400, "sign_up_already_complete", "Sign-up already complete",
                                    "This sign-up has already been completed.");
    if (auto failure = applyFields(request.formBody(), *state))
        return *failure;
    saveCompleting(request.param(0), clientId, *state);
    return store_.envelope(store_.signUpJson(request.param(0), *state), clientId);
}

ServerResponse SignUpRoutes::prepareVerification(const ServerRequest& request) {
    QString clientId;
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    const QString email = state->value("email_address").toString();
    if (field(request.formBody(), "strategy") != "email_code" || email.isEmpty())
        return ClerkError::response(422, "strategy_for_user_invalid", "Invalid verification strategy",
                                    "Only email_code verification of an email address is available.",
                                    "strategy");
    if (auto refused = VerificationCode::throttle(state->value("code_sent_at").toInteger(), context_.nowMs()))
        return *refused;
    state->insert("email_code", VerificationCode::send(context_, email, "Confirm your email address"));
    state->insert("code_sent_at", context_.nowMs());
    state->insert("verification",
                  VerificationCode::verification("unverified", "email_code", 0,
                                                 context_.nowMs() + VerificationCode::lifetimeMs));
    store_.saveSignUp(request.param(0), clientId, *state);
    return store_.envelope(store_.signUpJson(request.param(0), *state), clientId);
}

ServerResponse SignUpRoutes::attemptVerification(const ServerRequest& request) {
    QString clientId;
    std::optional<QJsonObject> state;
    if (auto failure = load(request, &clientId, &state))
        return *failure;
    const QUrlQuery form = request.formBody();
    if (field(form, "strategy") != "email_code")
        return ClerkError::response(422, "strategy_for_user_invalid", "Invalid verification strategy",
                                    "Only email_code verification of an email address is available.",
                                    "strategy");
    if (state->value("status").toString() == "complete")
        return ClerkError::response(400, "sign_up_already_complete", "Sign-up already complete",
                                    "This sign-up has already been completed.");
    QJsonObject verification = state->value("verification").toObject();
    if (verification.isEmpty())
        verification = VerificationCode::verification("unverified", "email_code", 0, 0);
    const QString email = state->value("email_address").toString();
    GuessLimiter guesses = GuessLimits::code(context_, request.param(0), email);
    const auto failure = VerificationCode::check(
        verification, state->value("email_code").toString(), field(form, "code").trimmed(),
        VerificationCode::acceptsFixedCode(context_, email), context_.nowMs(), &guesses);
    state->insert("verification", verification);
    if (failure)
        store_.saveSignUp(request.param(0), clientId, *state);
    else
        saveCompleting(request.param(0), clientId, *state);
    if (failure)
        return *failure;
    return store_.envelope(store_.signUpJson(request.param(0), *state), clientId);
}

void SignUpRoutes::saveCompleting(const QString& id, const QString& clientId, QJsonObject& state) {
    // One transaction: a crash cannot leave an account whose sign-up still looks unfinished, which
    // a retry could then never complete (the address is taken).
    const QJsonObject asSent = state;
    const bool saved = context_.db.inTransaction([&] {
        state = asSent;
        completeIfReady(clientId, state);
        store_.saveSignUp(id, clientId, state);
        return true;
    });
    if (!saved)
        state = asSent;
}

void SignUpRoutes::completeIfReady(const QString& clientId, QJsonObject& state) {
    const SignUpRequirements requirements(context_.options.signUpRequires);
    if (!requirements.missingFields(state).isEmpty() ||
        state.value("verification").toObject().value("status").toString() != "verified")
        return;
    const QString userId =
        store_.createUser(state.value("email_address").toString(), state.value("password_hash").toString(),
                          state.value("first_name").toString(), state.value("last_name").toString());
    if (userId.isEmpty())
        return; // the address was taken meanwhile; the sign-up stays incomplete
    const QString strategy = state.value("transfer").toBool()
                                 ? state.value("external_account").toObject().value("strategy").toString()
                                 : QStringLiteral("email_code");
    state["status"] = "complete";
    state["created_user_id"] = userId;
    state["created_session_id"] = store_.createSession(clientId, userId, strategy);
    store_.setClientAttempt(clientId, "sign_up_id", {});
}
