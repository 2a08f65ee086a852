#pragma once

#include "NetworkStatus.h"

#include <QObject>

#include <memory>

// Whether the machine is online, for the offline banner. Online until the network status says
// otherwise, so no banner flashes at start.
class NetworkMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isOnline READ isOnline NOTIFY isOnlineChanged)
public:
    explicit NetworkMonitor(std::unique_ptr<NetworkStatus> status, QObject* parent = nullptr);

    bool isOnline() const { return isOnline_; }

Q_SIGNALS:
    void isOnlineChanged();

private:
    std::unique_ptr<NetworkStatus> status_;
    bool isOnline_ = true;
};
