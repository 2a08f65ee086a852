#include "SystemNetworkPathMonitor.h"

#include <QNetworkInformation>

void SystemNetworkPathMonitor::start() {
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    auto* info = QNetworkInformation::instance();
    const auto report = [this](QNetworkInformation::Reachability r) {
        // An unknown state is not evidence of being offline.
        if (r != QNetworkInformation::Reachability::Unknown)
            Q_EMIT pathUpdated(r == QNetworkInformation::Reachability::Online);
    };
    connect(info, &QNetworkInformation::reachabilityChanged, this, report);
    report(info->reachability());
}
