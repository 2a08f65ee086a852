#include "KeychainWait.h"

KeychainWait& KeychainWait::shared() {
    static KeychainWait wait;
    return wait;
}

void KeychainWait::bypass() {
    if (bypassed_.exchange(true))
        return;
    Q_EMIT bypassRequested();
}

void KeychainWait::begin() {
    if (pending_.fetch_add(1) == 0)
        Q_EMIT waitingChanged();
}

void KeychainWait::end() {
    if (pending_.fetch_sub(1) == 1)
        Q_EMIT waitingChanged();
}
