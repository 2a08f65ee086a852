#pragma once

#include <QString>
#include <QStringList>

// Stable identifiers of the feed's cards and concepts: prefix + "_" + the first 20 hex digits of
// the SHA-256 of `parts`. The parts of a user's own cards include the user's id, so that the same
// term makes the same ids on every request for one user and different ids for another.
namespace FeedIds {
QString make(const QString& prefix, const QStringList& parts);
} // namespace FeedIds
