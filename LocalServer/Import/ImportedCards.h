#pragma once

#include "NotecardParser.h"

class Database;

// Writes the cards of a committed import into the user's flashcards, as new cards (no review yet,
// SM-2 defaults). Runs inside the caller's transaction; false when a row could not be written.
class ImportedCards {
public:
    static bool insert(Database& db, const QString& userId, const QString& courseId,
                       const QList<NotecardParser::Card>& cards, qint64 nowMs);
};
