#include "ReconnectSchedule.h"

#include <QRandomGenerator>

#include <algorithm>

ReconnectSchedule::ReconnectSchedule(Random random) : random_(std::move(random)) {
    if (!random_)
        random_ = [] { return QRandomGenerator::global()->generateDouble(); };
}

ReconnectSchedule::Duration ReconnectSchedule::nextDelay() {
    const Duration ceiling = ceiling_;
    ceiling_ = std::min(ceiling_ * 2, cap);
    const double unit = std::clamp(random_(), 0.0, 1.0);
    const auto half = ceiling / 2;
    return half + Duration(qint64(double((ceiling - half).count()) * unit));
}
