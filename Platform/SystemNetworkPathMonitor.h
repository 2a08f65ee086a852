#pragma once

#include "NetworkPathMonitor.h"

#include <QString>

// The system's reachability through QNetworkInformation, judged for the backend's host by
// ReachabilityRule. Without a backend (no NetworkManager on the bus, say) it reports nothing, and
// the app stays online.
class SystemNetworkPathMonitor final : public NetworkPathMonitor {
    Q_OBJECT
public:
    explicit SystemNetworkPathMonitor(QString apiHost, QObject* parent = nullptr);
    void start() override;

private:
    QString apiHost_;
};
