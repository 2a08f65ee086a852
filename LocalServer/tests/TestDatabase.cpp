#include "TestDatabase.h"

#include "Storage/Database.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSet>
#include <QUrl>

namespace {

QString serverUrl() {
    const QString value = qEnvironmentVariable("ORBELO_TEST_DATABASE").trimmed();
    if (value.isEmpty() || Database::isPostgreSqlUrl(value))
        return value;
    QFile file(value);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("ORBELO_TEST_DATABASE names %s, which cannot be read", qPrintable(value));
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString nameFor(const QString& dataDir) {
    const QByteArray path = QDir(dataDir).absolutePath().toUtf8();
    return "orbelo_t_" +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(20));
}

QString urlOf(const QString& name) {
    QUrl url(serverUrl());
    url.setPath('/' + name);
    return url.toString();
}

// Statements on the server's maintenance database; CREATE and DROP DATABASE run outside
// transactions.
bool onServer(const QString& sql) {
    Database server;
    return server.open(serverUrl()) && server.exec(sql);
}

QMutex made;
QSet<QString> madeNames;

void dropRemaining() {
    for (const QString& name : std::as_const(madeNames))
        onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    madeNames.clear();
}

} // namespace

bool TestDatabase::onPostgreSql() {
    return !serverUrl().isEmpty();
}

QString TestDatabase::forDataDir(const QString& dataDir) {
    if (!onPostgreSql())
        return {};
    const QString name = nameFor(dataDir);
    const QMutexLocker lock(&made);
    if (!madeNames.contains(name)) {
        // One left by a test process that crashed on a data dir of the same path is stale.
        if (!onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name)) ||
            !onServer(QStringLiteral("CREATE DATABASE %1").arg(name)))
            qFatal("cannot create the test database %s", qPrintable(name));
        static const bool dropsAtExit = (qAddPostRoutine(dropRemaining), true);
        Q_UNUSED(dropsAtExit);
        madeNames.insert(name);
    }
    return urlOf(name);
}

QString TestDatabase::location(const QString& dataDir) {
    return onPostgreSql() ? forDataDir(dataDir) : QDir(dataDir).filePath("orbelo.sqlite");
}

bool TestDatabase::open(Database& db, const QString& dataDir) {
    return db.open(location(dataDir));
}

void TestDatabase::drop(const QString& dataDir) {
    if (!onPostgreSql())
        return;
    const QString name = nameFor(dataDir);
    const QMutexLocker lock(&made);
    if (madeNames.remove(name))
        onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}
