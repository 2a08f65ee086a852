#include "Connectivity/NetworkMonitor.h"

NetworkMonitor::NetworkMonitor(std::unique_ptr<NetworkStatus> monitor, QObject* parent)
    : QObject(parent), monitor_(std::move(monitor)) {
    connect(monitor_.get(), &NetworkStatus::statusReported, this, [this](bool satisfied) {
        if (satisfied == isOnline_)
            return;
        isOnline_ = satisfied;
        Q_EMIT isOnlineChanged();
    });
    monitor_->start();
}
