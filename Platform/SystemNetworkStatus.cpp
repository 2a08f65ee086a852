#include "SystemNetworkStatus.h"

#include "NetworkStatusRule.h"

SystemNetworkStatus::SystemNetworkStatus(QString apiHost, QObject* parent)
    : NetworkStatus(parent), apiHost_(std::move(apiHost)) {}

void SystemNetworkStatus::start() {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    auto* info = QNetworkInformation::instance();
    const auto report = [this](QNetworkInformation::Reachability reachability) {
        // An unknown state is not evidence of being offline.
        if (const std::optional<bool> online = NetworkStatusRule::isOnline(reachability, apiHost_))
            Q_EMIT statusReported(*online);
    };
    connect(info, &QNetworkInformation::reachabilityChanged, this, report);
    report(info->reachability());
}
