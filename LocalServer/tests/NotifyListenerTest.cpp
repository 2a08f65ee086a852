#include "Storage/NotifyListener.h"
#include "TestDatabase.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <libpq-fe.h>
#include <memory>

// The LISTEN connection on a real PostgreSQL server (TestDatabase): what a NOTIFY carries,
// and what happens when the server ends the connection under the listener.
class NotifyListenerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dataDir;
    QString url;
    QByteArray channel;
    QMutex mutex;
    QStringList heard;
    std::atomic<int> connected{0};
    std::unique_ptr<NotifyListener> listener;

    // One statement on a connection of the test's own; its first row's first value.
    QByteArray sql(const QByteArray& statement) {
        PGconn* connection = PQconnectdb(url.toUtf8().constData());
        PGresult* result = PQexec(connection, statement.constData());
        QByteArray value;
        if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) > 0)
            value = PQgetvalue(result, 0, 0);
        else if (PQresultStatus(result) != PGRES_COMMAND_OK)
            qWarning() << PQerrorMessage(connection);
        PQclear(result);
        PQfinish(connection);
        return value;
    }
    void notify(const QByteArray& payload) { sql("NOTIFY " + channel + ", '" + payload + "'"); }
    QStringList heardSoFar() {
        QMutexLocker lock(&mutex);
        return heard;
    }

private slots:
    void init() {
        if (!TestDatabase::onPostgreSql())
            QSKIP("LISTEN/NOTIFY is PostgreSQL's: set ORBELO_TEST_DATABASE");
        url = TestDatabase::forDataDir(dataDir.path());
        // A channel of this test's own: tests running side by side share the server.
        channel = "orbelo_test_" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        heard.clear();
        connected = 0;
        listener = std::make_unique<NotifyListener>(
            url, channel,
            [this](const QString& payload) {
                QMutexLocker lock(&mutex);
                heard.append(payload);
            },
            [this] { ++connected; });
        listener->start();
        QTRY_COMPARE_WITH_TIMEOUT(connected.load(), 1, 30'000);
    }
    void cleanup() { listener.reset(); }

    void eachNotifyOnItsChannelIsHeardWithItsPayloadInOrder() {
        sql("NOTIFY orbelo_elsewhere, 'not-mine'");
        notify("user_1");
        notify("user_2");
        // Announced in one transaction: heard together at its commit, and not at all if rolled back.
        sql("BEGIN; NOTIFY " + channel + ", 'rolled-back'; ROLLBACK");
        sql("BEGIN; NOTIFY " + channel + ", 'user_3'; NOTIFY " + channel + ", 'user_4'; COMMIT");
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar().size(), 4, 30'000);
        QCOMPARE(heardSoFar(), (QStringList{"user_1", "user_2", "user_3", "user_4"}));
        QCOMPARE(listener->connections(), 1);
    }

    void aConnectionEndedByTheServerIsMadeAgainAndListensAgain() {
        notify("before");
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar().size(), 1, 30'000);
        QCOMPARE(sql("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE query = 'LISTEN " +
                     channel + "'"),
                 "1");
        // Told again once it listens, so that its owner can look up what went by in between.
        QTRY_COMPARE_WITH_TIMEOUT(connected.load(), 2, 30'000);
        QCOMPARE(listener->connections(), 2);
        notify("after");
        QTRY_COMPARE_WITH_TIMEOUT(heardSoFar().size(), 2, 30'000);
        QCOMPARE(heardSoFar(), (QStringList{"before", "after"}));
    }
};

QTEST_GUILESS_MAIN(NotifyListenerTest)
#include "NotifyListenerTest.moc"
