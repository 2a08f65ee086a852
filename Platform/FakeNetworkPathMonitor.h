#pragma once

#include "NetworkPathMonitor.h"

// A path monitor that tests drive by hand.
class FakeNetworkPathMonitor final : public NetworkPathMonitor {
    Q_OBJECT
public:
    using NetworkPathMonitor::NetworkPathMonitor;
    void start() override { started = true; }
    void report(bool satisfied) { Q_EMIT pathUpdated(satisfied); }
    bool started = false;
};
