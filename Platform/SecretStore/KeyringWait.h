#pragma once

#include <QObject>

#include <atomic>

// Whether a call to the desktop's Secret Service is waiting for its answer (a locked keyring
// waits for the user's password), and the user's choice to go on without the keyring for the
// rest of the run. Calls report from the keyring's worker thread; the screens watch on the main
// thread.
class KeyringWait : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    static KeyringWait& shared();

    bool isWaiting() const { return pending_.load() > 0; }
    bool isBypassed() const { return bypassed_.load(); }

    // Every waiting call gives up at once, and later calls do not reach the keyring: reads find
    // nothing and writes are dropped.
    void bypass();

    // Around each call to the keyring, from any thread.
    void begin();
    void end();

Q_SIGNALS:
    // Emitted on the reporting thread; connect with a receiver to have it delivered on its own.
    void waitingChanged();
    void bypassRequested();

private:
    std::atomic<int> pending_{0};
    std::atomic<bool> bypassed_{false};
};
