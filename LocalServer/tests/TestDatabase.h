#pragma once

#include <QString>

class Database;

// Where the servers of the tests keep their data. Without ORBELO_TEST_DATABASE, SQLite in each
// data dir. With it set to a PostgreSQL server's URL (postgresql://user@host:port/postgres), or
// to the path of a file holding one (what the ctest fixture writes), each data dir gets a
// database of its own on that server, named after the data dir's path: made afresh the first
// time this process asks for it, so that servers started again on the same data dir, in this
// process or as executables, find the same data.
class TestDatabase {
public:
    static bool onPostgreSql();
    // The --database value of a server on `dataDir`: empty on SQLite.
    static QString forDataDir(const QString& dataDir);
    // What Database::open() takes to see the data of the servers on `dataDir`.
    static QString location(const QString& dataDir);
    static bool open(Database& db, const QString& dataDir);
    // Drops the database of `dataDir` (once the data dir is gone). Those still there when the
    // test process ends are dropped then.
    static void drop(const QString& dataDir);
};
