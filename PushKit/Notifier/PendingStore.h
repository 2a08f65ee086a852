#pragma once

#include "NotificationRequest.h"
#include "VersionedJsonFile.h"

#include <QList>
#include <QString>

// The pending requests on disk: one JSON document, written whole and atomically. A file that
// cannot be read back is moved aside (kept for a look) and the agent starts with none.
class PendingStore {
public:
    // `path`: the file; its folder is made on the first save.
    explicit PendingStore(QString path);

    // $XDG_DATA_HOME/orbelo/notifier/pending.json
    static QString defaultPath();

    QList<NotificationRequest> load() const;
    // False (and logged) when the file could not be written; the old one is then untouched.
    bool save(const QList<NotificationRequest>& requests) const;

    const QString& path() const { return file_.path(); }

private:
    VersionedJsonFile file_;
};
