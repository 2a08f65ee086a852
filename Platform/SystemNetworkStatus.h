#pragma once

#include "NetworkStatus.h"

#include <QString>

// The system's reachability through QNetworkInformation, judged for the backend's host by
// NetworkStatusRule. Without a backend (no NetworkManager on the bus, say) it reports nothing, and
// the app stays online.
class SystemNetworkStatus final : public NetworkStatus {
    Q_OBJECT
public:
    explicit SystemNetworkStatus(QString apiHost, QObject* parent = nullptr);
    void start() override;

private:
    QString apiHost_;
};
