// The Secret Service store for real: a private session bus with GNOME Keyring (see
// run-with-secret-service.sh), used from a worker thread as the app uses it.
#include "KeychainError.h"
#include "SecretServiceKeychain.h"
#include "TaskScope.h"
#include "WorkerThread.h"

#include <QtTest>

namespace {

struct RoundTrip {
    std::optional<QByteArray> afterWrite;
    std::optional<QByteArray> afterOverwrite;
    std::optional<QByteArray> otherService;
    std::optional<QByteArray> afterRemove;
};

RoundTrip roundTrip() {
    SecretServiceKeychain keychain(QStringLiteral("com.orbelo.desktop.tests"));
    SecretServiceKeychain other(QStringLiteral("com.orbelo.desktop.tests.other"));
    const QString account = QStringLiteral("clerkDeviceToken");
    RoundTrip result;
    keychain.setData(account, QByteArray("first\0binary", 12));
    result.afterWrite = keychain.data(account);
    keychain.setData(account, "second");
    result.afterOverwrite = keychain.data(account);
    result.otherService = other.data(account);
    keychain.remove(account);
    result.afterRemove = keychain.data(account);
    keychain.remove(account); // removing an absent item is no failure
    return result;
}

async::Task<void> runOnWorker(async::WorkerThread* worker, RoundTrip* out) {
    *out = co_await worker->run(roundTrip);
}

} // namespace

class SecretServiceKeychainTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesReadsAndRemovesItemsFromAWorkerThread() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"),
                 "needs the session bus that run-with-secret-service.sh provides");
        async::WorkerThread worker(QStringLiteral("keychain"));
        async::TaskScope scope;
        RoundTrip result;
        bool finished = false;
        QString failure;
        scope.spawn(
            runOnWorker(&worker, &result), [&] { finished = true; },
            [&](std::exception_ptr e) {
                try {
                    std::rethrow_exception(e);
                } catch (const KeychainError& error) {
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
    }

    // Once the user goes on without the keyring, calls neither wait nor change what it holds.
    void aBypassedKeyringIsLeftAlone() {
        const QString account = QStringLiteral("cachedClient");
        SecretServiceKeychain kept(QStringLiteral("com.orbelo.desktop.tests.bypass"));
        kept.setData(account, "kept");
        KeychainWait wait;
        QSignalSpy waiting(&wait, &KeychainWait::waitingChanged);
        SecretServiceKeychain bypassed(QStringLiteral("com.orbelo.desktop.tests.bypass"), wait);
        QCOMPARE(bypassed.data(account), QByteArray("kept"));
        QCOMPARE(waiting.count(), 2); // began and ended
        wait.bypass();
        QCOMPARE(bypassed.data(account), std::nullopt);
        bypassed.setData(account, "dropped");
        bypassed.remove(account);
        QCOMPARE(waiting.count(), 2);
        QCOMPARE(kept.data(account), QByteArray("kept"));
        kept.remove(account);
    }
};

QTEST_GUILESS_MAIN(SecretServiceKeychainTest)
#include "tst_SecretServiceKeychain.moc"
