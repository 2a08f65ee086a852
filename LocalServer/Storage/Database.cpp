#include "Storage/Database.h"

#include "Storage/BoundStatement.h"
#include "Storage/Migrations.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>
#include <QThreadStorage>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>
#include <chrono>
#include <libpq-fe.h>
#include <thread>
#include <unordered_map>

Q_LOGGING_CATEGORY(lcDatabase, "orbelo.server.db")

// What one thread's connection is in the middle of.
struct DatabaseThreadState {
    // The last statement failed because the connection is gone.
    bool lost = false;
    // The connection is opened again before the next statement.
    bool reopen = false;
    // Transactions this thread has open on the connection: 1, more inside inTransaction's
    // savepoints.
    int depth = 0;
    // A statement failed since the transaction began: PostgreSQL has aborted it.
    bool failedInTransaction = false;
    // A statement lost to a concurrent transaction (serialization failure or deadlock).
    bool conflict = false;
};

namespace {

// The connections one thread opened; they close when the thread ends.
struct ThreadConnections {
    QStringList names;
    // A map whose elements stay put while others are added: callers hold references.
    std::unordered_map<QString, DatabaseThreadState> states;
    ~ThreadConnections() {
        for (const QString& name : std::as_const(names)) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
};

QThreadStorage<ThreadConnections*>& threadConnections() {
    static QThreadStorage<ThreadConnections*> storage;
    return storage;
}

ThreadConnections& thisThread() {
    if (!threadConnections().hasLocalData())
        threadConnections().setLocalData(new ThreadConnections);
    return *threadConnections().localData();
}

// How long a writer waits for another's transaction before giving up (SQLite).
constexpr int busyTimeoutMs = 10'000;
// How many times inTransaction() runs work that keeps losing to concurrent transactions.
constexpr int transactionTries = 8;
// The advisory lock held while one process migrates a PostgreSQL database ("orbelo" in ASCII).
constexpr qint64 migrationLock = 0x6f7262656c6f;

bool isConflict(const QString& sqlState) {
    return sqlState == "40001" || sqlState == "40P01";
}

// Connection exceptions, and the server shutting down or not yet accepting connections.
bool isConnectionLoss(const QString& sqlState) {
    return sqlState.startsWith("08") || sqlState == "57P01" || sqlState == "57P02" || sqlState == "57P03";
}

bool connectionBroken(const QSqlDatabase& db) {
    if (!db.isOpen())
        return true;
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    PGconn* connection = *static_cast<PGconn* const*>(handle.data());
    return connection == nullptr || PQstatus(connection) != CONNECTION_OK;
}

} // namespace

Database::Database()
    : connectionPrefix_("orbelo-server-" + QUuid::createUuid().toString(QUuid::WithoutBraces) + '-') {}

Database::~Database() {
    // Only this thread's connection can be closed here; the others closed with their threads.
    if (!threadConnections().hasLocalData())
        return;
    ThreadConnections& mine = *threadConnections().localData();
    for (qsizetype i = mine.names.size() - 1; i >= 0; --i) {
        if (!mine.names[i].startsWith(connectionPrefix_))
            continue;
        QSqlDatabase::database(mine.names[i], false).close();
        QSqlDatabase::removeDatabase(mine.names[i]);
        mine.states.erase(mine.names[i]);
        mine.names.removeAt(i);
    }
}

bool Database::isPostgreSqlUrl(const QString& location) {
    return location.startsWith("postgresql://") || location.startsWith("postgres://");
}

bool Database::open(const QString& location) {
    if (!isPostgreSqlUrl(location)) {
        engine_ = Engine::SQLite;
        path_ = location;
        QSqlDatabase db = connection();
        if (!db.isOpen())
            return false;
        // Persistent in the file: every connection after this one is in WAL mode too.
        return exec("PRAGMA journal_mode=WAL");
    }
    engine_ = Engine::PostgreSQL;
    const QUrl url(location);
    if (!url.isValid() || url.path().size() < 2) {
        lastError_ = "a PostgreSQL URL needs a database name: postgresql://user@host:port/dbname";
        return false;
    }
    host_ = url.host();
    port_ = url.port(5432);
    user_ = url.userName(QUrl::FullyDecoded);
    password_ = url.password(QUrl::FullyDecoded);
    name_ = url.path(QUrl::FullyDecoded).mid(1);
    QStringList options;
    bool timeoutGiven = false;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        options.append(key + '=' + value);
        timeoutGiven = timeoutGiven || key == "connect_timeout";
    }
    // A server that does not answer is reported unavailable instead of holding a request.
    if (!timeoutGiven)
        options.append("connect_timeout=5");
    connectOptions_ = options.join(';');
    return connection().isOpen() && !state().lost;
}

QString Database::connectionName() const {
    return connectionPrefix_ + QString::number(quintptr(QThread::currentThreadId()), 16);
}

DatabaseThreadState& Database::state() const {
    return thisThread().states[connectionName()];
}

QSqlDatabase Database::connection() {
    ThreadConnections& mine = thisThread();
    const QString name = connectionName();
    QSqlDatabase db;
    if (QSqlDatabase::contains(name)) {
        db = QSqlDatabase::database(name, false);
        DatabaseThreadState& current = mine.states[name];
        // A transaction lost with its connection keeps failing until it ends: its remaining
        // statements must not run on a new connection outside it.
        if (engine_ == Engine::SQLite || (!current.reopen && db.isOpen()) || current.depth > 0)
            return db;
        db.close();
        current.reopen = false;
    } else if (engine_ == Engine::SQLite) {
        db = QSqlDatabase::addDatabase("QSQLITE", name);
        mine.names.append(name);
        db.setDatabaseName(path_);
    } else {
        db = QSqlDatabase::addDatabase("QPSQL", name);
        mine.names.append(name);
        db.setHostName(host_);
        db.setPort(port_);
        db.setUserName(user_);
        db.setPassword(password_);
        db.setDatabaseName(name_);
        db.setConnectOptions(connectOptions_);
    }
    if (!db.open() || !configure(db)) {
        lastError_ = db.lastError().text();
        qCCritical(lcDatabase) << "cannot open the database:" << db.lastError().text();
        if (engine_ == Engine::PostgreSQL) {
            DatabaseThreadState& current = mine.states[name];
            current.lost = true;
            current.reopen = true;
        }
    }
    return db;
}

bool Database::configure(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (engine_ == Engine::PostgreSQL) {
        // Quiet about tables that already exist; literals as BoundStatement writes them.
        return query.exec("SET client_min_messages TO warning") &&
               query.exec("SET standard_conforming_strings TO on");
    }
    // Full sync: a committed request survives a crash of the process or the machine. Both
    // settings belong to the connection, not the file.
    return query.exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(busyTimeoutMs)) &&
           query.exec("PRAGMA synchronous=FULL") && query.exec("PRAGMA foreign_keys=ON");
}

int Database::latestVersion() {
    return Migrations::latest();
}

int Database::schemaVersion() const {
    auto* self = const_cast<Database*>(this);
    if (engine_ == Engine::PostgreSQL) {
        const auto table = self->row("SELECT to_regclass('schema_version') IS NOT NULL AS present");
        if (!table)
            return -1;
        if (!table->value("present").toBool())
            return 0;
        const auto version = self->row("SELECT version FROM schema_version");
        return version ? version->value("version").toInt() : 0;
    }
    QSqlQuery query(self->connection());
    if (!query.exec("PRAGMA user_version") || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool Database::refuseNewer(int version) {
    if (version <= latestVersion())
        return false;
    lastError_ = QStringLiteral("the database is at schema version %1; this server knows up to %2")
                     .arg(version)
                     .arg(latestVersion());
    return true;
}

bool Database::migrate(int targetVersion) {
    const int current = schemaVersion();
    if (current < 0) {
        lastError_ = "cannot read the schema version";
        return false;
    }
    if (refuseNewer(current))
        return false;
    return engine_ == Engine::PostgreSQL ? migratePostgreSql(targetVersion) : migrateSqlite(targetVersion);
}

bool Database::applyMigration(int version) {
    for (const QString& statement : Migrations::statements(version, engine_)) {
        if (!exec(statement)) {
            lastError_ = QStringLiteral("migration to schema version %1 failed").arg(version);
            return false;
        }
    }
    return true;
}

bool Database::migrateSqlite(int targetVersion) {
    // The version is read inside the write lock: a process that waited for another's migration
    // finds it applied.
    for (;;) {
        if (!transaction())
            return false;
        QSqlQuery query(connection());
        const int version = query.exec("PRAGMA user_version") && query.next() ? query.value(0).toInt() : -1;
        query.finish();
        if (version < 0 || version >= targetVersion)
            return version >= 0 ? commit() : (rollback(), false);
        if (!applyMigration(version + 1)) {
            rollback();
            return false;
        }
        if (!exec(QStringLiteral("PRAGMA user_version=%1").arg(version + 1)) || !commit())
            return false;
        qCInfo(lcDatabase) << "schema migrated to version" << version + 1;
    }
}

bool Database::migratePostgreSql(int targetVersion) {
    for (;;) {
        // READ COMMITTED under the lock: each statement sees what the process before committed.
        if (!exec("BEGIN"))
            return false;
        int version = -1;
        const bool read = exec("SELECT pg_advisory_xact_lock(?)", {migrationLock}) &&
                          exec("CREATE TABLE IF NOT EXISTS schema_version (version BIGINT NOT NULL)") &&
                          exec("INSERT INTO schema_version (version) SELECT 0"
                               " WHERE NOT EXISTS (SELECT 1 FROM schema_version)");
        if (read) {
            if (const auto stored = row("SELECT version FROM schema_version"))
                version = stored->value("version").toInt();
        }
        if (version < 0 || refuseNewer(version) || version >= targetVersion) {
            const bool current = version >= 0 && version <= latestVersion();
            exec(current ? "COMMIT" : "ROLLBACK");
            if (version < 0)
                lastError_ = "cannot read the schema version";
            return current;
        }
        if (!applyMigration(version + 1) || !exec("UPDATE schema_version SET version = ?", {version + 1}) ||
            !exec("COMMIT")) {
            exec("ROLLBACK");
            if (lastError_.isEmpty())
                lastError_ = QStringLiteral("migration to schema version %1 failed").arg(version + 1);
            return false;
        }
        qCInfo(lcDatabase) << "schema migrated to version" << version + 1;
    }
}

bool Database::failed(const QSqlQuery& query, const QString& sql) {
    const QSqlError error = query.lastError();
    DatabaseThreadState& current = state();
    if (engine_ == Engine::PostgreSQL) {
        const QString sqlState = error.nativeErrorCode();
        current.lost = error.type() == QSqlError::ConnectionError || isConnectionLoss(sqlState) ||
                       connectionBroken(QSqlDatabase::database(connectionName(), false));
        current.reopen = current.reopen || current.lost;
        current.conflict = current.conflict || isConflict(sqlState);
        if (current.depth > 0)
            current.failedInTransaction = true;
    }
    // The statement as written, never with its values: they may be secrets.
    qCWarning(lcDatabase) << "statement failed:" << error.text() << "in" << sql.left(120);
    return false;
}

bool Database::run(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (engine_ == Engine::SQLite) {
        if (!query.prepare(sql)) {
            qCCritical(lcDatabase) << "cannot prepare" << sql << query.lastError().text();
            return false;
        }
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec()) {
            qCWarning(lcDatabase) << "statement failed:" << query.lastError().text();
            return false;
        }
        return true;
    }
    const auto bound = BoundStatement::forPostgreSql(sql, values);
    if (!bound) {
        qCCritical(lcDatabase) << "wrong number of values for" << sql;
        return false;
    }
    if (!query.exec(*bound))
        return failed(query, sql);
    state().lost = false;
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    return run(query, sql, values);
}

int Database::changed(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    return run(query, sql, values) ? query.numRowsAffected() : -1;
}

std::optional<QVariantMap> Database::row(const QString& sql, const QVariantList& values) {
    const QList<QVariantMap> all = rows(sql, values);
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}

QList<QVariantMap> Database::rows(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    QList<QVariantMap> result;
    if (!run(query, sql, values))
        return result;
    // The column names once: a record per row copies every field (name and value) again.
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    while (query.next()) {
        QVariantMap map;
        for (int i = 0; i < names.size(); ++i)
            map.insert(names.at(i), query.value(i));
        result.append(map);
    }
    return result;
}

bool Database::unavailable() const {
    return engine_ == Engine::PostgreSQL && state().lost;
}

bool Database::transaction() {
    DatabaseThreadState& current = state();
    // SQLite refuses a BEGIN inside a transaction; PostgreSQL would only warn, and the COMMIT
    // meant for the inner one would end the outer one.
    if (current.depth > 0) {
        qCCritical(lcDatabase) << "a transaction is already open on this thread";
        return false;
    }
    current.failedInTransaction = false;
    current.conflict = false;
    if (!exec(engine_ == Engine::PostgreSQL ? "BEGIN ISOLATION LEVEL SERIALIZABLE" : "BEGIN IMMEDIATE"))
        return false;
    state().depth = 1;
    return true;
}

bool Database::commit() {
    DatabaseThreadState& current = state();
    current.depth = 0;
    // PostgreSQL answers COMMIT of a transaction it aborted with a rollback, not an error.
    if (engine_ == Engine::PostgreSQL && current.failedInTransaction) {
        if (!current.reopen)
            exec("ROLLBACK");
        return false;
    }
    return exec("COMMIT");
}

bool Database::rollback() {
    DatabaseThreadState& current = state();
    current.depth = 0;
    // A transaction lost with its connection is gone already.
    if (engine_ == Engine::PostgreSQL && current.reopen)
        return false;
    return exec("ROLLBACK");
}

bool Database::runOnce(const std::function<bool()>& work, bool* retry) {
    *retry = false;
    if (!transaction()) {
        *retry = state().conflict;
        return false;
    }
    const bool done = work();
    if (done && commit())
        return true;
    const DatabaseThreadState& current = state();
    *retry = current.conflict && !current.lost;
    // A COMMIT that failed on PostgreSQL ended the transaction; ROLLBACK then only warns.
    if (current.depth > 0 || engine_ == Engine::SQLite)
        rollback();
    return false;
}

bool Database::inTransaction(const std::function<bool()>& work) {
    DatabaseThreadState& current = state();
    if (current.depth > 0) {
        const QString savepoint = QStringLiteral("nested_%1").arg(current.depth);
        const bool failedBefore = current.failedInTransaction;
        if (!exec("SAVEPOINT " + savepoint))
            return false;
        ++state().depth;
        const bool done = work();
        --state().depth;
        if (done && !(engine_ == Engine::PostgreSQL && state().failedInTransaction && !failedBefore))
            return exec("RELEASE SAVEPOINT " + savepoint);
        // Undoes this part only; the statements before it still count.
        if (exec("ROLLBACK TO SAVEPOINT " + savepoint))
            state().failedInTransaction = failedBefore;
        return false;
    }
    for (int attempt = 1;; ++attempt) {
        bool retry = false;
        if (runOnce(work, &retry))
            return true;
        if (!retry || attempt == transactionTries)
            return false;
        // Jittered and growing, so that the transactions that collided do not collide again.
        const int capMs = std::min(2 << attempt, 64);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(QRandomGenerator::global()->bounded(1, capMs + 1)));
    }
}
