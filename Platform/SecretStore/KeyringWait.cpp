#include "KeyringWait.h"

KeyringWait& KeyringWait::shared() {
    static KeyringWait wait;
    return wait;
}

void KeyringWait::bypass() {
    if (bypassed_.exchange(true))
        return;
    Q_EMIT bypassRequested();
}

void KeyringWait::begin() {
    if (pending_.fetch_add(1) == 0)
        Q_EMIT waitingChanged();
}

void KeyringWait::end() {
    if (pending_.fetch_sub(1) == 1)
        Q_EMIT waitingChanged();
}
