#pragma once

#include "NetworkStatus.h"

// A path monitor that tests drive by hand.
class FakeNetworkStatus final : public NetworkStatus {
    Q_OBJECT
public:
    using NetworkStatus::NetworkStatus;
    void start() override { started = true; }
    void report(bool satisfied) { Q_EMIT statusReported(satisfied); }
    bool started = false;
};
