#include "Storage/Database.h"
#include "Storage/BoundStatement.h"
#include "TestDatabase.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <latch>
#include <memory>
#include <thread>

// The store on either engine (TestDatabase): migrations from empty and by two processes at
// once, a database newer than the binary, transactions that collide, and a connection lost
// under a statement.
class DatabaseTest : public QObject {
    Q_OBJECT

    // Each case's own: a SQLite file in it, or a PostgreSQL database named after it.
    std::unique_ptr<QTemporaryDir> dir_;

    bool openMigrated(Database& db) { return TestDatabase::open(db, dir_->path()) && db.migrate(); }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("orbelo.server.*.info=false"); }

    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void cleanup() {
        TestDatabase::drop(dir_->path());
        dir_.reset();
    }

    void valuesAreWrittenAsLiteralsOutsideQuotesAndComments() {
        const auto bound =
            BoundStatement::forPostgreSql("SELECT '?', \"a?\" FROM t -- ?\nWHERE a = ? AND b = ? AND c = ? "
                                          "/* ? */ AND d = ? AND e = 'x''?'",
                                          {QString("it's"), QVariant(), true, QByteArray("\x01\xff", 2)});
        QCOMPARE(*bound, "SELECT '?', \"a?\" FROM t -- ?\nWHERE a = 'it''s' AND b = NULL AND c = '1' /* ? */"
                         " AND d = '\\x01ff' AND e = 'x''?'");
        QCOMPARE(*BoundStatement::forPostgreSql("SELECT ?", {qint64(1) << 40}), "SELECT '1099511627776'");
        QVERIFY(!BoundStatement::forPostgreSql("SELECT ?, ?", {1}));
        QVERIFY(!BoundStatement::forPostgreSql("SELECT ?", {1, 2}));
    }

    void twoStartsAtOnceMigrateOnceAndBothEndCurrent() {
        std::atomic<int> migrated{0};
        auto start = [&] {
            Database db;
            if (openMigrated(db) && db.schemaVersion() == Database::latestVersion())
                ++migrated;
        };
        std::thread first(start);
        std::thread second(start);
        first.join();
        second.join();
        QCOMPARE(migrated.load(), 2);
        Database db;
        QVERIFY(TestDatabase::open(db, dir_->path()));
        // Version 17 renames columns and adds one settings row: run twice, it would fail or add two.
        QCOMPARE(db.row("SELECT COUNT(*) AS n FROM settings WHERE key = 'plain_secrets'")->value("n").toInt(),
                 1);
        QVERIFY(db.exec("SELECT token_hash FROM clients"));
    }

    void aDatabaseNewerThanTheServerIsRefused() {
        {
            Database db;
            QVERIFY(openMigrated(db));
            const int newer = Database::latestVersion() + 1;
            QVERIFY(db.engine() == Database::Engine::PostgreSQL
                        ? db.exec("UPDATE schema_version SET version = ?", {newer})
                        : db.exec(QStringLiteral("PRAGMA user_version=%1").arg(newer)));
        }
        Database db;
        QVERIFY(TestDatabase::open(db, dir_->path()));
        QVERIFY(!db.migrate());
        QCOMPARE(db.lastError(),
                 QStringLiteral("the database is at schema version %1; this server knows up to %2")
                     .arg(Database::latestVersion() + 1)
                     .arg(Database::latestVersion()));
    }

    void concurrentIncrementsLoseNoUpdate() {
        Database db;
        QVERIFY(openMigrated(db));
        QVERIFY(db.exec("CREATE TABLE counter (n INTEGER NOT NULL)") &&
                db.exec("INSERT INTO counter VALUES (0)"));
        constexpr int perThread = 20;
        std::atomic<int> runs{0};
        std::atomic<int> committed{0};
        // On PostgreSQL the first increments of both threads read before either writes, so one
        // of them must lose and run again. (SQLite's writers queue at BEGIN: they cannot meet.)
        const bool collide = db.engine() == Database::Engine::PostgreSQL;
        std::latch bothRead(2);
        auto increment = [&] {
            bool met = !collide;
            for (int i = 0; i < perThread; ++i) {
                const bool done = db.inTransaction([&] {
                    ++runs;
                    const auto read = db.row("SELECT n FROM counter");
                    if (!met) {
                        met = true;
                        bothRead.arrive_and_wait();
                    }
                    return read &&
                           db.changed("UPDATE counter SET n = ?", {read->value("n").toInt() + 1}) == 1;
                });
                committed += done ? 1 : 0;
            }
        };
        std::thread first(increment);
        std::thread second(increment);
        first.join();
        second.join();
        QCOMPARE(committed.load(), 2 * perThread);
        QCOMPARE(db.row("SELECT n FROM counter")->value("n").toInt(), 2 * perThread);
        if (collide)
            QVERIFY(runs.load() > 2 * perThread);
    }

    void aNestedTransactionThatFailsUndoesOnlyItsOwnWrites() {
        Database db;
        QVERIFY(openMigrated(db));
        const bool done = db.inTransaction([&] {
            const bool outer = db.exec("INSERT INTO settings (key, value) VALUES ('outer', '1')");
            const bool inner = db.inTransaction([&] {
                // A failing statement aborts a PostgreSQL transaction up to the savepoint.
                return db.exec("INSERT INTO settings (key, value) VALUES ('inner', '1')") &&
                       db.exec("INSERT INTO settings (key, value) VALUES ('outer', '2')");
            });
            return outer && !inner;
        });
        QVERIFY(done);
        QCOMPARE(db.rows("SELECT key, value FROM settings WHERE key IN ('outer', 'inner')").size(), 1);
        QCOMPARE(db.row("SELECT value FROM settings WHERE key = 'outer'")->value("value").toString(), "1");
    }

    void aLostConnectionIsUnavailableWritesNothingAndReconnects() {
        Database db;
        QVERIFY(openMigrated(db));
        if (db.engine() != Database::Engine::PostgreSQL)
            QSKIP("a SQLite file has no connection to lose");
        Database admin;
        QVERIFY(TestDatabase::open(admin, dir_->path()));
        auto terminate = [&] {
            return admin.exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                              " WHERE datname = current_database() AND pid <> pg_backend_pid()");
        };
        QVERIFY(db.exec("SELECT 1"));
        QVERIFY(terminate());
        QVERIFY(!db.exec("SELECT 1"));
        QVERIFY(db.unavailable());
        QVERIFY(db.exec("SELECT 1"));
        QVERIFY(!db.unavailable());

        // Lost halfway through a transaction whose work goes on regardless: the statements after
        // the loss must not run on a new connection outside the transaction, and the first write
        // is gone with it.
        const bool done = db.inTransaction([&] {
            db.exec("INSERT INTO settings (key, value) VALUES ('before', '1')");
            terminate();
            db.exec("INSERT INTO settings (key, value) VALUES ('lost', '1')");
            db.exec("INSERT INTO settings (key, value) VALUES ('after', '1')");
            return true;
        });
        QVERIFY(!done);
        QVERIFY(db.unavailable());
        QVERIFY(db.rows("SELECT key FROM settings WHERE key IN ('before', 'lost', 'after')").isEmpty());
        QVERIFY(!db.unavailable());
    }
};

QTEST_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
