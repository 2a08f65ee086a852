#include "Database.h"

#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

Q_LOGGING_CATEGORY(lcDatabase, "orbelo.server.db")

namespace {

// Each entry is one schema version; never edit a released entry, append a new one.
const QList<QStringList>& migrations() {
    static const QList<QStringList> list = {
        // 1: accounts and the auth service's clients, sessions and sign-in/sign-up attempts.
        {"CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
         "CREATE TABLE users (id TEXT PRIMARY KEY, email TEXT NOT NULL UNIQUE, email_id TEXT NOT NULL,"
         " password_hash TEXT, first_name TEXT, last_name TEXT, phone TEXT, phone_id TEXT,"
         " backup_codes TEXT NOT NULL DEFAULT '[]', created_at INTEGER NOT NULL, updated_at INTEGER NOT "
         "NULL)",
         "CREATE TABLE clients (id TEXT PRIMARY KEY, device_token TEXT NOT NULL UNIQUE, sign_in_id TEXT,"
         " sign_up_id TEXT, last_active_session_id TEXT, last_strategy TEXT, created_at INTEGER NOT NULL,"
         " updated_at INTEGER NOT NULL)",
         "CREATE TABLE sessions (id TEXT PRIMARY KEY, client_id TEXT NOT NULL, user_id TEXT NOT NULL,"
         " status TEXT NOT NULL, created_at INTEGER NOT NULL, updated_at INTEGER NOT NULL,"
         " last_active_at INTEGER NOT NULL, expire_at INTEGER NOT NULL, abandon_at INTEGER NOT NULL)",
         "CREATE INDEX sessions_client ON sessions (client_id)",
         "CREATE TABLE attempts (id TEXT PRIMARY KEY, client_id TEXT NOT NULL, kind TEXT NOT NULL,"
         " state TEXT NOT NULL, created_at INTEGER NOT NULL, updated_at INTEGER NOT NULL)",
         "CREATE TABLE mailbox (id INTEGER PRIMARY KEY AUTOINCREMENT, recipient TEXT NOT NULL,"
         " subject TEXT NOT NULL, body TEXT NOT NULL, created_at INTEGER NOT NULL)"},
        // 2: the study library.
        {"CREATE TABLE profiles (user_id TEXT PRIMARY KEY, profile TEXT NOT NULL DEFAULT '{}', timezone "
         "TEXT)",
         "CREATE TABLE documents (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, filename TEXT NOT NULL,"
         " title TEXT, document_type TEXT, file_type TEXT, content_type TEXT, file_size INTEGER NOT NULL,"
         " course_id TEXT, s3_key TEXT NOT NULL, status TEXT NOT NULL, chunk_count INTEGER,"
         " failure_reason TEXT, text TEXT, uploaded_at TEXT, created_at INTEGER NOT NULL)",
         "CREATE INDEX documents_user ON documents (user_id)",
         "CREATE TABLE courses (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, name TEXT NOT NULL,"
         " info TEXT NOT NULL DEFAULT '{}', document_id TEXT, study_plan TEXT, created_at INTEGER NOT NULL)",
         "CREATE TABLE summaries (document_id TEXT PRIMARY KEY, user_id TEXT NOT NULL, summary TEXT NOT "
         "NULL)",
         "CREATE TABLE jobs (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, job_type TEXT NOT NULL,"
         " status TEXT NOT NULL, input TEXT NOT NULL DEFAULT '{}', result TEXT, error TEXT,"
         " created_at TEXT NOT NULL, started_at TEXT, completed_at TEXT)",
         "CREATE INDEX jobs_status ON jobs (status)"},
        // 3: whether each user shows in their school's directory.
        {"CREATE TABLE directory_visibility (user_id TEXT PRIMARY KEY,"
         " school_discoverable INTEGER NOT NULL DEFAULT 0)"},
        // 4: counters of wrong guesses at codes, passwords and backup codes (GuessLimiter).
        {"CREATE TABLE guess_counters (key TEXT PRIMARY KEY, failures INTEGER NOT NULL,"
         " window_ends INTEGER NOT NULL, locked_until INTEGER NOT NULL DEFAULT 0)",
         "CREATE INDEX guess_counters_window ON guess_counters (window_ends)"},
    };
    return list;
}

} // namespace

Database::Database()
    : connectionName_("orbelo-server-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

Database::~Database() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

bool Database::open(const QString& path) {
    db_ = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
    db_.setDatabaseName(path);
    if (!db_.open()) {
        lastError_ = db_.lastError().text();
        return false;
    }
    // WAL with full sync: a committed request survives a crash of the process or the machine.
    return exec("PRAGMA journal_mode=WAL") && exec("PRAGMA synchronous=FULL") &&
           exec("PRAGMA foreign_keys=ON");
}

int Database::latestVersion() {
    return int(migrations().size());
}

int Database::schemaVersion() const {
    QSqlQuery query(db_);
    if (!query.exec("PRAGMA user_version") || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool Database::migrate(int targetVersion) {
    for (int version = schemaVersion() + 1; version <= targetVersion; ++version) {
        if (!transaction())
            return false;
        for (const QString& statement : migrations().at(version - 1)) {
            if (!exec(statement)) {
                db_.rollback();
                return false;
            }
        }
        if (!exec(QStringLiteral("PRAGMA user_version=%1").arg(version)) || !commit())
            return false;
        qCInfo(lcDatabase) << "schema migrated to version" << version;
    }
    return true;
}

bool Database::prepare(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (!query.prepare(sql)) {
        lastError_ = query.lastError().text();
        qCCritical(lcDatabase) << "cannot prepare" << sql << lastError_;
        return false;
    }
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        lastError_ = query.lastError().text();
        qCWarning(lcDatabase) << "statement failed:" << lastError_;
        return false;
    }
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery query(db_);
    return prepare(query, sql, values);
}

std::optional<QVariantMap> Database::row(const QString& sql, const QVariantList& values) {
    const QList<QVariantMap> all = rows(sql, values);
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}

QList<QVariantMap> Database::rows(const QString& sql, const QVariantList& values) {
    QSqlQuery query(db_);
    QList<QVariantMap> result;
    if (!prepare(query, sql, values))
        return result;
    while (query.next()) {
        QVariantMap map;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            map.insert(record.fieldName(i), query.value(i));
        result.append(map);
    }
    return result;
}

bool Database::transaction() {
    return db_.transaction();
}

bool Database::commit() {
    return db_.commit();
}
