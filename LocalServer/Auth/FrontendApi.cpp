#include "Auth/FrontendApi.h"

#include "Auth/ClerkError.h"
#include "Auth/EmailAddress.h"
#include "Auth/MailboxStore.h"
#include "Auth/SignUpRequirements.h"
#include "Auth/TokenSigner.h"
#include "Notifications/DeviceStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>
#include <QUrl>

namespace {

QJsonObject attribute(bool enabled, bool required, const QJsonArray& firstFactors,
                      const QJsonArray& secondFactors, const QJsonArray& verifications, bool verifyAtSignUp) {
    return QJsonObject{{"enabled", enabled},
                       {"required", required},
                       {"used_for_first_factor", !firstFactors.isEmpty()},
                       {"first_factors", firstFactors},
                       {"used_for_second_factor", !secondFactors.isEmpty()},
                       {"second_factors", secondFactors},
                       {"verifications", verifications},
                       {"verify_at_sign_up", verifyAtSignUp}};
}

QJsonObject social(const QString& strategy, bool enabled) {
    return QJsonObject{{"enabled", enabled},   {"required", false},       {"authenticatable", true},
                       {"strategy", strategy}, {"not_selectable", false}, {"logo_url", ""}};
}

QString escapeHtml(const QString& text) {
    return text.toHtmlEscaped();
}

} // namespace

ServerResponse FrontendApi::environment() const {
    const QJsonArray none;
    const SignUpRequirements requirements(context_.options.signUpRequires);
    const QJsonObject attributes{
        {"email_address", attribute(true, true, {"email_code"}, none, {"email_code"}, true)},
        {"password", attribute(true, true, none, none, none, false)},
        {"phone_number", attribute(true, false, none, {"phone_code"}, {"phone_code"}, false)},
        {"backup_code", attribute(true, false, none, {"backup_code"}, none, false)},
        {"first_name", attribute(true, requirements.isRequired("first_name"), none, none, none, false)},
        {"last_name", attribute(true, requirements.isRequired("last_name"), none, none, none, false)}};
    const QJsonObject userSettings{
        {"attributes", attributes},
        {"sign_up", QJsonObject{{"custom_action_required", false},
                                {"progressive", true},
                                {"legal_consent_enabled", requirements.isRequired("legal_accepted")}}},
        {"social",
         // Google and Apple sign-in go through the consent stand-in, which only a demo server has.
         QJsonObject{{"oauth_google", social("oauth_google", context_.options.demo)},
                     {"oauth_apple", social("oauth_apple", context_.options.demo)}}},
        {"actions", QJsonObject{{"delete_self", true}, {"create_organization", false}}},
        {"passkey_settings", QJsonObject{{"allow_autofill", false}, {"show_sign_in_button", false}}}};
    const QJsonObject displayConfig{
        {"object", "display_config"},   {"id", "display_config_local"},
        {"application_name", "Orbelo"}, {"branded", false},
        {"home_url", context_.baseUrl}, {"instance_environment_type", "development"},
        {"logo_image_url", ""},         {"preferred_sign_in_strategy", "password"},
        {"privacy_policy_url", ""},     {"show_devmode_warning", false},
        {"support_email", ""},          {"terms_url", ""}};
    const QJsonObject organizationSettings{
        {"enabled", false},
        {"max_allowed_memberships", 0},
        {"force_organization_selection", false},
        {"actions", QJsonObject{{"admin_delete", false}}},
        {"domains",
         QJsonObject{{"enabled", false}, {"enrollment_modes", none}, {"default_role", QJsonValue()}}},
        {"organization_creation_defaults", QJsonObject{{"enabled", false}}}};
    return ServerResponse::json(QJsonObject{
        {"object", "environment"},
        {"id", "env_local"},
        {"auth_config",
         QJsonObject{{"object", "auth_config"}, {"id", "aac_local"}, {"single_session_mode", false}}},
        {"display_config", displayConfig},
        {"user_settings", userSettings},
        {"organization_settings", organizationSettings}});
}

ServerResponse FrontendApi::client(const ServerRequest& request) {
    const auto row = store_.clientFor(request);
    const QJsonValue current =
        row ? QJsonValue(store_.clientJson(row->value("id").toString())) : QJsonValue();
    return ServerResponse::json(QJsonObject{{"response", current}, {"client", QJsonValue()}});
}

ServerResponse FrontendApi::token(const ServerRequest& request) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign in again.");
    const auto session = store_.session(request.param(0));
    if (!session || session->value("client_id") != client->value("id"))
        return ClerkError::notFound("No session with that id exists on this client.");
    if (session->value("status").toString() != "active")
        return ClerkError::authenticationInvalid("The session is " + session->value("status").toString() +
                                                 ".");
    if (!store_.user(session->value("user_id").toString()))
        return ClerkError::authenticationInvalid("The account of this session no longer exists.");
    store_.markSessionUsed(request.param(0));
    const QString jwt = context_.signer->issue(request.param(0), session->value("user_id").toString(),
                                               context_.nowSeconds(), AuthStore::tokenLifetimeSeconds);
    return store_.envelope(QJsonObject{{"object", "token"}, {"jwt", jwt}}, client->value("id").toString());
}

ServerResponse FrontendApi::touch(const ServerRequest& request) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign in again.");
    const QString clientId = client->value("id").toString();
    const auto session = store_.session(request.param(0));
    if (!session || session->value("client_id").toString() != clientId)
        return ClerkError::notFound("No session with that id exists on this client.");
    if (session->value("status").toString() == "active")
        store_.makeSessionCurrent(request.param(0), clientId);
    return store_.envelope(store_.sessionJson(*store_.session(request.param(0))), clientId);
}

ServerResponse FrontendApi::remove(const ServerRequest& request) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign in again.");
    const QString clientId = client->value("id").toString();
    const auto session = store_.session(request.param(0));
    if (!session || session->value("client_id").toString() != clientId)
        return ClerkError::notFound("No session with that id exists on this client.");
    if (session->value("status").toString() == "active")
        store_.setSessionStatus(request.param(0), "removed");
    store_.touchClient(clientId);
    return store_.envelope(store_.sessionJson(*store_.session(request.param(0))), clientId);
}

ServerResponse FrontendApi::signOutAll(const ServerRequest& request) {
    const auto client = store_.clientFor(request);
    if (!client)
        return ClerkError::authenticationInvalid("This device is not known; sign in again.");
    const QString clientId = client->value("id").toString();
    store_.endSessionsOf(clientId);
    const QJsonObject current = store_.clientJson(clientId);
    return ServerResponse::json(QJsonObject{{"response", current}, {"client", current}});
}

ServerResponse FrontendApi::consentPage(const ServerRequest& request) {
    const QString signIn = request.query.queryItemValue("sign_in", QUrl::FullyDecoded);
    const QString provider = request.query.queryItemValue("provider", QUrl::FullyDecoded);
    const QString providerName = provider == "apple" ? "Apple" : "Google";
    const QString page =
        QStringLiteral(
            "<!doctype html><html><head><meta charset=\"utf-8\"><title>Sign in with %1</title></head>"
            "<body><h1>Sign in with %1</h1><p>This local server stands in for %1. Enter the email address "
            "of the %1 account to sign in with; an address without an Orbelo account creates one.</p>"
            "<form method=\"post\" action=\"/oauth/consent\"><input type=\"hidden\" name=\"sign_in\" "
            "value=\"%2\"><input type=\"hidden\" name=\"provider\" value=\"%3\"><label>Email "
            "<input type=\"email\" name=\"email\" required></label> <button type=\"submit\">Continue"
            "</button></form></body></html>")
            .arg(providerName, escapeHtml(signIn), escapeHtml(provider));
    return ServerResponse::bytes(page.toUtf8(), "text/html; charset=utf-8");
}

ServerResponse FrontendApi::consent(const ServerRequest& request) {
    const QUrlQuery form = request.formBody();
    const QString signInId = form.queryItemValue("sign_in", QUrl::FullyDecoded);
    const QString email = EmailAddress::normalized(form.queryItemValue("email", QUrl::FullyDecoded));
    auto attempt = store_.signIn(signInId);
    if (!attempt || email.isEmpty())
        return ServerResponse::bytes("Unknown or expired sign-in.", "text/plain; charset=utf-8", 400);
    const QString nonce = RandomId::make("nonce");
    attempt->oauth["email"] = email;
    attempt->oauth["nonce"] = nonce;
    store_.save(*attempt);
    QUrl callback(attempt->oauth.value("redirect_url").toString());
    QUrlQuery query(callback);
    query.addQueryItem("rotating_token_nonce", nonce);
    callback.setQuery(query);
    ServerResponse response = ServerResponse::empty(302);
    response.setHeader("Location", callback.toString(QUrl::FullyEncoded).toUtf8());
    return response;
}

ServerResponse FrontendApi::mailbox() {
    QString page = "<!doctype html><html><head><meta charset=\"utf-8\"><title>Mailbox</title></head><body>"
                   "<h1>Messages sent by the local server</h1><ul>";
    for (const MailboxStore::Mail& mail : MailboxStore(context_.db).latest(100)) {
        page += QStringLiteral("<li>%1 — to %2 — %3: %4</li>")
                    .arg(QDateTime::fromMSecsSinceEpoch(mail.createdAtMs, Qt::UTC).toString(Qt::ISODate),
                         escapeHtml(mail.recipient), escapeHtml(mail.subject), escapeHtml(mail.body));
    }
    page += "</ul></body></html>";
    return ServerResponse::bytes(page.toUtf8(), "text/html; charset=utf-8");
}
