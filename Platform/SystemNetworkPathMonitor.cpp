#include "SystemNetworkPathMonitor.h"

#include "ReachabilityRule.h"

SystemNetworkPathMonitor::SystemNetworkPathMonitor(QString apiHost, QObject* parent)
    : NetworkPathMonitor(parent), apiHost_(std::move(apiHost)) {}

void SystemNetworkPathMonitor::start() {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    auto* info = QNetworkInformation::instance();
    const auto report = [this](QNetworkInformation::Reachability reachability) {
        // An unknown state is not evidence of being offline.
        if (const std::optional<bool> online = ReachabilityRule::isOnline(reachability, apiHost_))
            Q_EMIT pathUpdated(*online);
    };
    connect(info, &QNetworkInformation::reachabilityChanged, this, report);
    report(info->reachability());
}
