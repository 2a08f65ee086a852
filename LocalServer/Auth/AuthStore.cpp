#include "Auth/AuthStore.h"

#include "Auth/EmailAddress.h"
#include "Auth/GuessLimits.h"
#include "Auth/SignUpRequirements.h"
#include "Auth/TokenSigner.h"
#include "Notifications/DeviceStore.h"
#include "Push/PushStreams.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"
#include "Storage/SecretHash.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonValue orNull(const QVariant& value) {
    return value.isNull() || value.toString().isEmpty() ? QJsonValue() : QJsonValue(value.toString());
}

QJsonValue orNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue orNull(const QJsonObject& object) {
    return object.isEmpty() ? QJsonValue() : QJsonValue(object);
}

QString maskedPhone(const QString& phone) {
    return phone.size() <= 4 ? phone : QString(phone.size() - 4, '*') + phone.right(4);
}

} // namespace

std::optional<QVariantMap> AuthStore::clientFor(const ServerRequest& request) {
    const QByteArray token = request.header("authorization");
    if (token.isEmpty())
        return std::nullopt;
    return context_.db.row("SELECT * FROM clients WHERE token_hash = ?",
                           {SecretHash::of(QString::fromUtf8(token))});
}

QVariantMap AuthStore::clientOrCreate(const ServerRequest& request, QByteArray* newDeviceToken) {
    if (auto existing = clientFor(request))
        return *existing;
    const QString id = RandomId::make("client");
    const QString token = RandomId::make("dvc") + RandomId::make("x").mid(2);
    const qint64 now = context_.nowMs();
    context_.db.exec("INSERT INTO clients (id, token_hash, created_at, updated_at) VALUES (?, ?, ?, ?)",
                     {id, SecretHash::of(token), now, now});
    *newDeviceToken = token.toUtf8();
    return *context_.db.row("SELECT * FROM clients WHERE id = ?", {id});
}

void AuthStore::touchClient(const QString& clientId) {
    const qint64 now = context_.nowMs();
    context_.db.exec("UPDATE clients SET updated_at = CASE WHEN ? > updated_at THEN ? ELSE updated_at + 1 END"
                     " WHERE id = ?",
                     {now, now, clientId});
}

void AuthStore::setClientAttempt(const QString& clientId, const QString& column, const QString& attemptId) {
    Q_ASSERT(column == "sign_in_id" || column == "sign_up_id");
    context_.db.exec(QStringLiteral("UPDATE clients SET %1 = ? WHERE id = ?").arg(column),
                     {attemptId.isEmpty() ? QVariant() : QVariant(attemptId), clientId});
    touchClient(clientId);
}

QString AuthStore::backupCodeHash(const QString& userId, const QString& code) const {
    return context_.sign(("backup-code|" + userId + '|' + code).toUtf8());
}

QString AuthStore::backupCodeHashes(const QString& userId, const QStringList& codes) const {
    QJsonArray hashes;
    for (const QString& code : codes)
        hashes.append(backupCodeHash(userId, code));
    return QString::fromUtf8(QJsonDocument(hashes).toJson(QJsonDocument::Compact));
}

bool AuthStore::hashStoredSecrets() {
    Database& db = context_.db;
    for (const QVariantMap& row : db.rows("SELECT id, token_hash FROM clients")) {
        if (!db.exec("UPDATE clients SET token_hash = ? WHERE id = ?",
                     {SecretHash::of(row.value("token_hash").toString()), row.value("id")}))
            return false;
    }
    for (const QVariantMap& row : db.rows("SELECT id, backup_code_hashes FROM users")) {
        QStringList codes;
        for (const QJsonValue& code :
             QJsonDocument::fromJson(row.value("backup_code_hashes").toByteArray()).array())
            codes.append(code.toString());
        const QString userId = row.value("id").toString();
        if (!db.exec("UPDATE users SET backup_code_hashes = ? WHERE id = ?",
                     {backupCodeHashes(userId, codes), userId}))
            return false;
    }
    return true;
}

void AuthStore::setSecondFactor(const QString& userId, const QString& phone, const QStringList& backupCodes) {
    context_.db.exec(
        "UPDATE users SET phone = ?, phone_id = ?, backup_code_hashes = ?, updated_at = ? WHERE id = ?",
        {phone, RandomId::make("idn"), backupCodeHashes(userId, backupCodes), context_.nowMs(), userId});
}

AuthStore::BackupCodeUse AuthStore::useBackupCode(const QVariantMap& user, const QString& code) {
    const QByteArray stored = user.value("backup_code_hashes").toByteArray();
    QJsonArray hashes = QJsonDocument::fromJson(stored).array();
    const QByteArray guess = backupCodeHash(user.value("id").toString(), code).toLatin1();
    // Every stored hash is compared, in constant time, whichever matches.
    qsizetype index = -1;
    for (qsizetype i = 0; i < hashes.size(); ++i) {
        if (SecretHash::same(hashes.at(i).toString().toLatin1(), guess))
            index = i;
    }
    if (index < 0)
        return BackupCodeUse::Wrong;
    hashes.removeAt(index);
    // Only the request that still finds the list it read may use the code.
    const int used =
        context_.db.changed("UPDATE users SET backup_code_hashes = ? WHERE id = ? AND backup_code_hashes = ?",
                            {QString::fromUtf8(QJsonDocument(hashes).toJson(QJsonDocument::Compact)),
                             user.value("id"), QString::fromUtf8(stored)});
    return used == 1 ? BackupCodeUse::Used : BackupCodeUse::Taken;
}

void AuthStore::setPassword(const QString& userId, const QString& passwordHash) {
    context_.db.exec("UPDATE users SET password_hash = ?, updated_at = ? WHERE id = ?",
                     {passwordHash, context_.nowMs(), userId});
    GuessLimits::forgetPasswordGuesses(context_.db, userId);
}

std::optional<QVariantMap> AuthStore::user(const QString& id) {
    return context_.db.row("SELECT * FROM users WHERE id = ?", {id});
}

std::optional<QVariantMap> AuthStore::userByEmail(const QString& email) {
    return context_.db.row("SELECT * FROM users WHERE email = ?", {EmailAddress::normalized(email)});
}

QString AuthStore::createUser(const QString& email, const QString& passwordHash, const QString& firstName,
                              const QString& lastName) {
    const QString id = RandomId::make("user");
    const qint64 now = context_.nowMs();
    // A taken address writes nothing rather than failing, which would end the caller's transaction.
    const int inserted = context_.db.changed(
        "INSERT INTO users (id, email, email_id, password_hash, first_name, last_name, "
        "created_at, updated_at)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (email) DO NOTHING",
        {id, EmailAddress::normalized(email), RandomId::make("idn"),
         passwordHash.isEmpty() ? QVariant() : passwordHash, firstName, lastName, now, now});
    return inserted == 1 ? id : QString();
}

namespace {
// `text` as it appears inside a JSON string, where an attempt's state holds it.
QString jsonEscaped(const QString& text) {
    const QByteArray list = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(list.mid(2, list.size() - 4));
}

// `text` matched anywhere by LIKE ... ESCAPE '!'.
QString containing(const QString& text) {
    QString escaped = text;
    escaped.replace('!', "!!").replace('%', "!%").replace('_', "!_");
    return '%' + escaped + '%';
}
} // namespace

QVariantList AuthStore::attemptsNaming(const QString& userId, const QString& email) {
    // The states are JSON; LIKE narrows them down and the JSON decides.
    QString sql = "SELECT id, state FROM attempts WHERE state LIKE ? ESCAPE '!'";
    QVariantList values{containing(jsonEscaped(userId))};
    if (!email.isEmpty()) {
        sql += " OR lower(state) LIKE ? ESCAPE '!'";
        values.append(containing(jsonEscaped(email)));
    }
    QVariantList ids;
    for (const QVariantMap& row : context_.db.rows(sql, values)) {
        const QJsonObject state = QJsonDocument::fromJson(row.value("state").toByteArray()).object();
        const auto isEmail = [&](const QJsonValue& value) {
            return !email.isEmpty() && value.toString().toLower() == email;
        };
        if (state.value("user_id").toString() == userId ||
            state.value("created_user_id").toString() == userId || isEmail(state.value("identifier")) ||
            isEmail(state.value("email_address")) || isEmail(state.value("oauth").toObject().value("email")))
            ids.append(row.value("id"));
    }
    return ids;
}

bool AuthStore::deleteUser(const QString& userId) {
    Database& db = context_.db;
    const auto account = user(userId);
    const QString email = account ? account->value("email").toString().toLower() : QString();
    const QString phone = account ? account->value("phone").toString() : QString();
    QList<QVariantMap> clients;
    const bool deleted = db.inTransaction([&] {
        clients = db.rows("SELECT DISTINCT client_id FROM sessions WHERE user_id = ?", {userId});
        const QVariantList attempts = attemptsNaming(userId, email);
        const QString named = QStringList(attempts.size(), QStringLiteral("?")).join(", ");
        // The devices stay; they forget the account's sessions and attempts.
        bool written = db.exec("UPDATE clients SET last_active_session_id = NULL"
                               " WHERE last_active_session_id IN (SELECT id FROM sessions WHERE user_id = ?)",
                               {userId});
        if (!attempts.isEmpty()) {
            written = written &&
                      db.exec("UPDATE clients SET sign_in_id = NULL WHERE sign_in_id IN (" + named + ")",
                              attempts) &&
                      db.exec("UPDATE clients SET sign_up_id = NULL WHERE sign_up_id IN (" + named + ")",
                              attempts) &&
                      db.exec("DELETE FROM attempts WHERE id IN (" + named + ")", attempts);
        }
        written = written &&
                  db.exec("DELETE FROM mailbox WHERE lower(recipient) = ? OR (? <> '' AND recipient = ?)",
                          {email, phone, phone});
        for (const QString table : {"sessions",
                                    "documents",
                                    "courses",
                                    "summaries",
                                    "jobs",
                                    "profiles",
                                    "directory_visibility",
                                    "calendar_feeds",
                                    "flashcard_imports",
                                    "flashcards",
                                    "vocabularies",
                                    "quiz_scores",
                                    "rewards_progress",
                                    "credit_ledger",
                                    "achievements",
                                    "quiz_completions",
                                    "quiz_caches",
                                    "quiz_generations",
                                    "issued_quizzes",
                                    "mnemonics",
                                    "study_sessions",
                                    "devices",
                                    "notifications",
                                    "user_rewards",
                                    "reward_songs",
                                    "foryou_events",
                                    "foryou_likes",
                                    "foryou_concepts",
                                    "guided_reading_plans"})
            written =
                written && db.exec(QStringLiteral("DELETE FROM %1 WHERE user_id = ?").arg(table), {userId});
        GuessLimits::forgetAccount(db, userId, email, phone);
        return written && db.exec("DELETE FROM users WHERE id = ?", {userId});
    });
    if (!deleted)
        return false;
    if (context_.pushStreams)
        context_.pushStreams->closeUser(userId);
    for (const QVariantMap& client : clients)
        touchClient(client.value("client_id").toString());
    return true;
}

QString AuthStore::createSession(const QString& clientId, const QString& userId, const QString& strategy) {
    const QString id = RandomId::make("sess");
    const qint64 now = context_.nowMs();
    context_.db.exec(
        "INSERT INTO sessions (id, client_id, user_id, status, created_at, updated_at, last_active_at,"
        " expire_at, abandon_at) VALUES (?, ?, ?, 'active', ?, ?, ?, ?, ?)",
        {id, clientId, userId, now, now, now, now + sessionLifetimeMs, now + sessionAbandonMs});
    context_.db.exec("UPDATE clients SET last_active_session_id = ?, last_strategy = ? WHERE id = ?",
                     {id, strategy, clientId});
    touchClient(clientId);
    return id;
}

std::optional<QVariantMap> AuthStore::session(const QString& id) {
    auto row = context_.db.row("SELECT * FROM sessions WHERE id = ?", {id});
    if (!row || row->value("status").toString() != "active")
        return row;
    const qint64 now = context_.nowMs();
    QString status;
    if (now >= row->value("abandon_at").toLongLong())
        status = "abandoned";
    else if (now >= row->value("expire_at").toLongLong())
        status = "expired";
    if (!status.isEmpty()) {
        setSessionStatus(id, status);
        (*row)["status"] = status;
    }
    return row;
}

void AuthStore::setSessionStatus(const QString& id, const QString& status) {
    context_.db.exec("UPDATE sessions SET status = ?, updated_at = ? WHERE id = ?",
                     {status, context_.nowMs(), id});
    DeviceStore(context_).forgetEndedSessions();
}

void AuthStore::revokeSessionsOf(const QString& userId) {
    const auto clients = context_.db.rows(
        "SELECT DISTINCT client_id FROM sessions WHERE user_id = ? AND status = 'active'", {userId});
    context_.db.exec(
        "UPDATE sessions SET status = 'revoked', updated_at = ? WHERE user_id = ? AND status = 'active'",
        {context_.nowMs(), userId});
    DeviceStore(context_).forgetEndedSessions();
    for (const QVariantMap& client : clients)
        touchClient(client.value("client_id").toString());
}

bool AuthStore::isSessionActive(const QString& id) {
    const auto row = session(id);
    return row && row->value("status").toString() == "active";
}

std::optional<QString> AuthStore::latestActiveSession(const QString& userId) {
    const auto row =
        context_.db.row("SELECT id FROM sessions WHERE user_id = ? AND status = 'active' AND expire_at > ?"
                        " ORDER BY last_active_at DESC LIMIT 1",
                        {userId, context_.nowMs()});
    if (!row)
        return std::nullopt;
    return row->value("id").toString();
}

void AuthStore::markSessionUsed(const QString& sessionId) {
    context_.db.exec("UPDATE sessions SET last_active_at = ? WHERE id = ?", {context_.nowMs(), sessionId});
}

void AuthStore::makeSessionCurrent(const QString& sessionId, const QString& clientId) {
    context_.db.exec("UPDATE sessions SET last_active_at = ?, updated_at = ? WHERE id = ?",
                     {context_.nowMs(), context_.nowMs(), sessionId});
    context_.db.exec("UPDATE clients SET last_active_session_id = ? WHERE id = ?", {sessionId, clientId});
    touchClient(clientId);
}

void AuthStore::endSessionsOf(const QString& clientId) {
    context_.db.exec(
        "UPDATE sessions SET status = 'ended', updated_at = ? WHERE client_id = ? AND status = 'active'",
        {context_.nowMs(), clientId});
    context_.db.exec(
        "UPDATE clients SET last_active_session_id = NULL, sign_in_id = NULL, sign_up_id = NULL WHERE id = ?",
        {clientId});
    DeviceStore(context_).forgetEndedSessions();
    touchClient(clientId);
}

std::optional<SignInAttempt> AuthStore::signIn(const QString& id, const QString& clientId) {
    const auto state = attempt(id, clientId, "sign_in");
    return state ? SignInAttempt::decode(id, clientId, *state) : std::nullopt;
}

std::optional<SignInAttempt> AuthStore::signIn(const QString& id) {
    const auto row =
        context_.db.row("SELECT client_id, state FROM attempts WHERE id = ? AND kind = 'sign_in'", {id});
    if (!row)
        return std::nullopt;
    return SignInAttempt::decode(id, row->value("client_id").toString(),
                                 QJsonDocument::fromJson(row->value("state").toByteArray()).object());
}

std::optional<SignInAttempt> AuthStore::currentSignIn(const QString& clientId) {
    const auto client = context_.db.row("SELECT sign_in_id FROM clients WHERE id = ?", {clientId});
    return client ? signIn(client->value("sign_in_id").toString(), clientId) : std::nullopt;
}

void AuthStore::save(const SignInAttempt& attempt) {
    saveAttempt(attempt.id, attempt.clientId, "sign_in", attempt.encode());
}

std::optional<QJsonObject> AuthStore::signUp(const QString& id, const QString& clientId) {
    return attempt(id, clientId, "sign_up");
}

void AuthStore::saveSignUp(const QString& id, const QString& clientId, const QJsonObject& state) {
    saveAttempt(id, clientId, "sign_up", state);
}

std::optional<QJsonObject> AuthStore::attempt(const QString& id, const QString& clientId,
                                              const QString& kind) {
    const auto row = context_.db.row("SELECT state FROM attempts WHERE id = ? AND client_id = ? AND kind = ?",
                                     {id, clientId, kind});
    if (!row)
        return std::nullopt;
    return QJsonDocument::fromJson(row->value("state").toByteArray()).object();
}

void AuthStore::saveAttempt(const QString& id, const QString& clientId, const QString& kind,
                            const QJsonObject& state) {
    const qint64 now = context_.nowMs();
    context_.db.exec(
        "INSERT INTO attempts (id, client_id, kind, state, created_at, updated_at) VALUES (?, ?, ?, ?, ?, ?)"
        " ON CONFLICT(id) DO UPDATE SET state = excluded.state, updated_at = excluded.updated_at",
        {id, clientId, kind, QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Compact)), now,
         now});
    touchClient(clientId);
}

QJsonObject AuthStore::clientJson(const QString& clientId) {
    const auto client = context_.db.row("SELECT * FROM clients WHERE id = ?", {clientId});
    if (!client)
        return {};
    QJsonArray sessions;
    for (const QVariantMap& row : context_.db.rows(
             "SELECT id FROM sessions WHERE client_id = ? AND status = 'active' ORDER BY created_at",
             {clientId})) {
        const auto current = session(row.value("id").toString());
        if (current && current->value("status").toString() == "active")
            sessions.append(sessionJson(*current));
    }
    QString lastActive = client->value("last_active_session_id").toString();
    if (!lastActive.isEmpty() && !isSessionActive(lastActive))
        lastActive.clear();
    QJsonValue signInValue, signUpValue;
    if (const auto current = signIn(client->value("sign_in_id").toString(), clientId))
        signInValue = signInJson(*current);
    const QString signUpId = client->value("sign_up_id").toString();
    if (const auto state = signUp(signUpId, clientId))
        signUpValue = signUpJson(signUpId, *state);
    return QJsonObject{
        {"object", "client"},
        {"id", clientId},
        {"sessions", sessions},
        {"sign_in", signInValue},
        {"sign_up", signUpValue},
        {"last_active_session_id", lastActive.isEmpty() ? QJsonValue() : QJsonValue(lastActive)},
        {"last_authentication_strategy", orNull(client->value("last_strategy"))},
        {"created_at", client->value("created_at").toLongLong()},
        {"updated_at", client->value("updated_at").toLongLong()}};
}

QJsonObject AuthStore::sessionJson(const QVariantMap& session) {
    const auto owner = user(session.value("user_id").toString());
    QJsonValue userValue, publicData;
    if (owner) {
        userValue = userJson(*owner);
        publicData = QJsonObject{{"first_name", orNull(owner->value("first_name"))},
                                 {"last_name", orNull(owner->value("last_name"))},
                                 {"image_url", ""},
                                 {"has_image", false},
                                 {"identifier", owner->value("email").toString()}};
    }
    const QString id = session.value("id").toString();
    QJsonValue token;
    if (owner && session.value("status").toString() == "active") {
        token = QJsonObject{{"object", "token"},
                            {"jwt", context_.signer->issue(id, owner->value("id").toString(),
                                                           context_.nowSeconds(), tokenLifetimeSeconds)}};
    }
    return QJsonObject{{"object", "session"},
                       {"id", id},
                       {"status", session.value("status").toString()},
                       {"expire_at", session.value("expire_at").toLongLong()},
                       {"abandon_at", session.value("abandon_at").toLongLong()},
                       {"last_active_at", session.value("last_active_at").toLongLong()},
                       {"last_active_organization_id", QJsonValue()},
                       {"actor", QJsonValue()},
                       {"user", userValue},
                       {"public_user_data", publicData},
                       {"created_at", session.value("created_at").toLongLong()},
                       {"updated_at", session.value("updated_at").toLongLong()},
                       {"tasks", QJsonArray()},
                       {"last_active_token", token}};
}

QJsonObject AuthStore::userJson(const QVariantMap& user) {
    const QString emailId = user.value("email_id").toString();
    const QJsonObject email{
        {"object", "email_address"},
        {"id", emailId},
        {"email_address", user.value("email").toString()},
        {"verification", QJsonObject{{"status", "verified"}, {"strategy", "email_code"}}}};
    QJsonArray phones;
    const QString phone = user.value("phone").toString();
    if (!phone.isEmpty()) {
        phones.append(
            QJsonObject{{"object", "phone_number"},
                        {"id", user.value("phone_id").toString()},
                        {"phone_number", phone},
                        {"reserved_for_second_factor", true},
                        {"verification", QJsonObject{{"status", "verified"}, {"strategy", "phone_code"}}}});
    }
    return QJsonObject{{"object", "user"},
                       {"id", user.value("id").toString()},
                       {"username", QJsonValue()},
                       {"first_name", orNull(user.value("first_name"))},
                       {"last_name", orNull(user.value("last_name"))},
                       {"image_url", ""},
                       {"has_image", false},
                       {"primary_email_address_id", emailId},
                       {"primary_phone_number_id",
                        phone.isEmpty() ? QJsonValue() : QJsonValue(user.value("phone_id").toString())},
                       {"email_addresses", QJsonArray{email}},
                       {"phone_numbers", phones},
                       {"external_accounts", QJsonArray()},
                       {"password_enabled", !user.value("password_hash").isNull()},
                       {"two_factor_enabled", !phone.isEmpty()},
                       {"backup_code_enabled", !phone.isEmpty()},
                       {"public_metadata", QJsonObject()},
                       {"unsafe_metadata", QJsonObject()},
                       {"created_at", user.value("created_at").toLongLong()},
                       {"updated_at", user.value("updated_at").toLongLong()}};
}

QJsonObject AuthStore::signInJson(const SignInAttempt& attempt) {
    const auto owner = user(attempt.userId);
    QJsonArray firstFactors, secondFactors;
    QJsonValue userData;
    if (owner) {
        if (!owner->value("password_hash").isNull())
            firstFactors.append(QJsonObject{{"strategy", "password"}});
        firstFactors.append(QJsonObject{{"strategy", "email_code"},
                                        {"safe_identifier", owner->value("email").toString()},
                                        {"email_address_id", owner->value("email_id").toString()},
                                        {"primary", true}});
        firstFactors.append(QJsonObject{{"strategy", "reset_password_email_code"},
                                        {"safe_identifier", owner->value("email").toString()},
                                        {"email_address_id", owner->value("email_id").toString()}});
        const QString phone = owner->value("phone").toString();
        if (!phone.isEmpty()) {
            secondFactors.append(QJsonObject{{"strategy", "phone_code"},
                                             {"safe_identifier", maskedPhone(phone)},
                                             {"phone_number_id", owner->value("phone_id").toString()},
                                             {"default", true}});
            secondFactors.append(QJsonObject{{"strategy", "backup_code"}});
        }
        userData = QJsonObject{{"first_name", orNull(owner->value("first_name"))},
                               {"last_name", orNull(owner->value("last_name"))},
                               {"image_url", ""},
                               {"has_image", false}};
    }
    return QJsonObject{
        {"object", "sign_in"},
        {"id", attempt.id},
        {"status", SignInAttempt::statusName(attempt.status)},
        {"supported_identifiers", QJsonArray{"email_address"}},
        {"identifier", orNull(attempt.identifier)},
        {"supported_first_factors", firstFactors},
        {"supported_second_factors", secondFactors.isEmpty() ? QJsonValue() : QJsonValue(secondFactors)},
        {"first_factor_verification", orNull(attempt.firstFactorVerification)},
        {"second_factor_verification", orNull(attempt.secondFactorVerification)},
        {"user_data", userData},
        {"created_session_id", orNull(attempt.createdSessionId)},
        {"abandon_at", attempt.abandonAtMs}};
}

QJsonObject AuthStore::signUpJson(const QString& id, const QJsonObject& state) {
    const SignUpRequirements requirements(context_.options.signUpRequires);
    QJsonArray unverified;
    const QJsonObject verification = state.value("verification").toObject();
    if (verification.value("status").toString() != "verified")
        unverified.append("email_address");
    return QJsonObject{{"object", "sign_up"},
                       {"id", id},
                       {"status", state.value("status")},
                       {"required_fields", requirements.requiredFields()},
                       {"optional_fields", requirements.optionalFields()},
                       {"missing_fields", requirements.missingFields(state)},
                       {"unverified_fields", unverified},
                       {"verifications", QJsonObject{{"email_address", state.value("verification")},
                                                     {"phone_number", QJsonValue()},
                                                     {"web3_wallet", QJsonValue()},
                                                     {"external_account", state.value("external_account")}}},
                       {"username", QJsonValue()},
                       {"email_address", state.value("email_address")},
                       {"phone_number", QJsonValue()},
                       {"web3_wallet", QJsonValue()},
                       {"password_enabled", !state.value("password_hash").toString().isEmpty()},
                       {"first_name", state.value("first_name")},
                       {"last_name", state.value("last_name")},
                       {"unsafe_metadata", QJsonObject()},
                       {"created_session_id", state.value("created_session_id")},
                       {"created_user_id", state.value("created_user_id")},
                       {"abandon_at", state.value("abandon_at")}};
}

ServerResponse AuthStore::envelope(const QJsonValue& response, const QString& clientId,
                                   const QByteArray& newDeviceToken) {
    ServerResponse http =
        ServerResponse::json(QJsonObject{{"response", response}, {"client", clientJson(clientId)}});
    if (!newDeviceToken.isEmpty())
        http.setHeader("Authorization", newDeviceToken);
    return http;
}
