#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimeZone>

// Reports a change of the system's time zone: /etc/localtime is replaced (timedatectl and the
// desktops' settings do that). The folder is watched, since the link is swapped rather than
// written; a change elsewhere in it costs one comparison.
class TimeZoneWatch : public QObject {
    Q_OBJECT
public:
    explicit TimeZoneWatch(QObject* parent = nullptr);

Q_SIGNALS:
    void changed(const QTimeZone& zone);

private:
    void check();

    QFileSystemWatcher watcher_;
    QByteArray zoneId_;
};
