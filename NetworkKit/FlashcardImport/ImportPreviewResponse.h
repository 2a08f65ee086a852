#pragma once

#include "CardDelimiter.h"
#include "FieldDelimiter.h"
#include "ImportPreviewCard.h"
#include "ImportSkippedRow.h"
#include "JsonRecord.h"

// The parse of a deck: the delimiters used, a sample of cards (truncated when it does not hold them all),
// counts over the whole deck, and whether it fits in storage.
struct ImportPreviewResponse {
    QString importId;
    FieldDelimiter fieldDelimiter = FieldDelimiter::tab;
    CardDelimiter cardDelimiter = CardDelimiter::newline;
    QString encoding;
    int totalCards = 0;
    int flaggedCount = 0;
    QList<ImportPreviewCard> sample;
    QList<ImportSkippedRow> skipped;
    bool truncated = false;
    QList<QString> sanitizedNotes;
    bool fitsStorage = false;
    std::optional<QString> storageMessage;
    JSON_RECORD(ImportPreviewResponse, importId, fieldDelimiter, cardDelimiter, encoding, totalCards,
                flaggedCount, sample, skipped, truncated, sanitizedNotes, fitsStorage, storageMessage)
};
