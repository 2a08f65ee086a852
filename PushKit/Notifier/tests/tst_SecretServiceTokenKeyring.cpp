// The device token in a real Secret Service (GNOME Keyring on a private session bus, set up by
// Platform/SecretStore/tests/run-with-secret-service.sh), through the agent's keyring and token store.
#include <QtTest>

#include "DeviceToken.h"
#include "DeviceTokenStore.h"
#include "SecretServiceTokenKeyring.h"

class SecretServiceTokenKeyringTest : public QObject {
    Q_OBJECT

    struct Result {
        bool done = false;
        QString token;
        QString error;
    };

private Q_SLOTS:
    // Created once and found again by a second store (a restarted agent); forgetting deletes it,
    // and deleting what is not there succeeds.
    void createReadForget() {
        QString first;
        {
            DeviceTokenStore store(std::make_unique<SecretServiceTokenKeyring>());
            Result a, b;
            store.fetch([&a](const QString& token, const QString& error) { a = {true, token, error}; });
            store.fetch([&b](const QString& token, const QString& error) { b = {true, token, error}; });
            QTRY_VERIFY(a.done && b.done);
            QVERIFY2(a.error.isEmpty(), qPrintable(a.error));
            QVERIFY(DeviceToken::isWellFormed(a.token));
            QCOMPARE(b.token, a.token);
            first = a.token;
        }
        DeviceTokenStore store(std::make_unique<SecretServiceTokenKeyring>());
        Result again;
        store.fetch([&again](const QString& token, const QString& error) { again = {true, token, error}; });
        QTRY_VERIFY(again.done);
        QCOMPARE(again.token, first);

        for (int round = 0; round < 2; ++round) {
            Result forgotten;
            store.forget([&forgotten](const QString& error) { forgotten = {true, {}, error}; });
            QTRY_VERIFY(forgotten.done);
            QVERIFY2(forgotten.error.isEmpty(), qPrintable(forgotten.error));
        }
        SecretServiceTokenKeyring keyring;
        Result read;
        keyring.read([&read](const QString& token, const QString& error) { read = {true, token, error}; });
        QTRY_VERIFY(read.done);
        QVERIFY(read.error.isEmpty());
        QVERIFY(read.token.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SecretServiceTokenKeyringTest)
#include "tst_SecretServiceTokenKeyring.moc"
