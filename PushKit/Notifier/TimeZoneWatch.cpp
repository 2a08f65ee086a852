#include "TimeZoneWatch.h"

TimeZoneWatch::TimeZoneWatch(QObject* parent) : QObject(parent), zoneId_(QTimeZone::systemTimeZoneId()) {
    watcher_.addPath(QStringLiteral("/etc"));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TimeZoneWatch::check);
}

void TimeZoneWatch::check() {
    const QByteArray id = QTimeZone::systemTimeZoneId();
    if (id == zoneId_)
        return;
    zoneId_ = id;
    Q_EMIT changed(QTimeZone::systemTimeZone());
}
