#include "Connectivity/NetworkMonitor.h"

NetworkMonitor::NetworkMonitor(std::unique_ptr<NetworkStatus> status, QObject* parent)
    : QObject(parent), status_(std::move(status)) {
    connect(status_.get(), &NetworkStatus::statusReported, this, [this](bool online) {
        if (online == isOnline_)
            return;
        isOnline_ = online;
        Q_EMIT isOnlineChanged();
    });
    status_->start();
}
