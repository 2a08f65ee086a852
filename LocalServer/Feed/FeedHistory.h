#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// What one user has done with the feed: read from the stored events and likes.
struct FeedHistory {
    QHash<QString, QList<qint64>> skippedAt; // concept id → times (ms) of its "skipped" events
    QHash<QString, qint64> lastEngagedAt;    // concept id → time (ms) of its latest "engaged" event
    QSet<QString> liked;                     // ids of the cards the user likes
};
