#pragma once

#include "PushSettings.h"
#include "VersionedJsonFile.h"

#include <optional>

// push.json: the push settings as one JSON document, written whole and atomically. A file that
// cannot be read back is moved aside (kept for a look) and push stays off.
class PushStore {
public:
    explicit PushStore(QString path);

    // $XDG_DATA_HOME/orbelo/notifier/push.json
    static QString defaultPath();

    // Empty when there is no file or it was unreadable.
    std::optional<PushSettings> load() const;
    // False (and logged) when the file could not be written; the old one is then untouched.
    bool save(const PushSettings& settings) const;
    void clear() const;

    const QString& path() const { return file_.path(); }

private:
    VersionedJsonFile file_;
};
