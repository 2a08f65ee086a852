#pragma once

#include <QString>
#include <QtGlobal>

// Read-aloud clips ("speak-….wav" in each user's media folder) kept up to a size on disk: a clip
// asked for again is touched, and after a new one the least recently asked for go until the rest
// fit.
class ClipCache {
public:
    // Marks `file` as asked for at `nowMs`.
    static void touch(const QString& file, qint64 nowMs);
    // Deletes clips under `mediaDir`, least recently asked for first, until they hold at most
    // `maxBytes`.
    static void trim(const QString& mediaDir, qint64 maxBytes);
};
