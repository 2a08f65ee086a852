#pragma once

#include "JsonRecord.h"
#include "NarrationSegment.h"

// An ordered playlist of audio segments, played in index order.
struct DocumentNarration {
    QString documentId;
    QList<NarrationSegment> segments;
    QString voice;
    QString provider;
    std::optional<int> totalChars;
    JSON_RECORD(DocumentNarration, documentId, segments, voice, provider, totalChars)
};
