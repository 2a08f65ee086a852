// The Secret Service store for real: a private session bus with GNOME Keyring (see
// run-with-secret-service.sh), used from one worker thread as the app uses it (the QtKeychain
// library's job queue stays with the first thread that used it).
#include "SecretServiceStore.h"
#include "SecretStoreError.h"
#include "TaskScope.h"
#include "WorkerThread.h"

#include <QtTest>

namespace {

struct RoundTrip {
    std::optional<QByteArray> afterWrite;
    std::optional<QByteArray> afterOverwrite;
    std::optional<QByteArray> otherService;
    std::optional<QByteArray> afterRemove;
    // Through a store whose user went on without the keyring: what it read before and after.
    std::optional<QByteArray> beforeBypass;
    std::optional<QByteArray> bypassedRead;
    int waitReports = 0;
    std::optional<QByteArray> keptThroughBypass;
};

RoundTrip roundTrip() {
    SecretServiceStore keyring(QStringLiteral("com.orbelo.desktop.tests"));
    SecretServiceStore other(QStringLiteral("com.orbelo.desktop.tests.other"));
    const QString account = QStringLiteral("clerkDeviceToken");
    RoundTrip result;
    keyring.setData(account, QByteArray("first\0binary", 12));
    result.afterWrite = keyring.data(account);
    keyring.setData(account, "second");
    result.afterOverwrite = keyring.data(account);
    result.otherService = other.data(account);
    keyring.remove(account);
    result.afterRemove = keyring.data(account);
    keyring.remove(account); // removing an absent item is no failure

    // Once the user goes on without the keyring, calls neither wait nor change what it holds.
    keyring.setData(account, "kept");
    KeyringWait wait;
    QObject::connect(&wait, &KeyringWait::waitingChanged, [&] { ++result.waitReports; });
    SecretServiceStore bypassed(QStringLiteral("com.orbelo.desktop.tests"), wait);
    result.beforeBypass = bypassed.data(account);
    wait.bypass();
    result.bypassedRead = bypassed.data(account);
    bypassed.setData(account, "dropped");
    bypassed.remove(account);
    result.keptThroughBypass = keyring.data(account);
    keyring.remove(account);
    return result;
}

async::Task<void> runOnWorker(async::WorkerThread* worker, RoundTrip* out) {
    *out = co_await worker->run(roundTrip);
}

} // namespace

class SecretServiceStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesReadsAndRemovesItemsFromAWorkerThread() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"),
                 "needs the session bus that run-with-secret-service.sh provides");
        async::WorkerThread worker(QStringLiteral("keyring"));
        async::TaskScope scope;
        RoundTrip result;
        bool finished = false;
        QString failure;
        scope.spawn(
            runOnWorker(&worker, &result), [&] { finished = true; },
            [&](std::exception_ptr e) {
                try {
                    std::rethrow_exception(e);
                } catch (const SecretStoreError& error) {
                    failure = error.description();
                }
                finished = true;
            });
        QTRY_VERIFY_WITH_TIMEOUT(finished, 60'000);
        QCOMPARE(failure, QString());
        QCOMPARE(result.afterWrite, QByteArray("first\0binary", 12));
        QCOMPARE(result.afterOverwrite, QByteArray("second"));
        QCOMPARE(result.otherService, std::nullopt);
        QCOMPARE(result.afterRemove, std::nullopt);
        QCOMPARE(result.beforeBypass, QByteArray("kept"));
        QCOMPARE(result.bypassedRead, std::nullopt);
        QCOMPARE(result.waitReports, 2); // the one call before the bypass began and ended
        QCOMPARE(result.keptThroughBypass, QByteArray("kept"));
    }
};

QTEST_GUILESS_MAIN(SecretServiceStoreTest)
#include "tst_SecretServiceStore.moc"
