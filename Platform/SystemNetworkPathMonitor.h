#pragma once

#include "NetworkPathMonitor.h"

// The system's reachability through QNetworkInformation. Without a backend (no NetworkManager on
// the bus, say) it reports nothing, and the app stays online.
class SystemNetworkPathMonitor final : public NetworkPathMonitor {
    Q_OBJECT
public:
    using NetworkPathMonitor::NetworkPathMonitor;
    void start() override;
};
