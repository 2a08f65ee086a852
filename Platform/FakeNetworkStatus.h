#pragma once

#include "NetworkStatus.h"

// A network status that tests drive by hand.
class FakeNetworkStatus final : public NetworkStatus {
    Q_OBJECT
public:
    using NetworkStatus::NetworkStatus;
    void start() override { started = true; }
    void report(bool online) { Q_EMIT statusReported(online); }
    bool started = false;
};
