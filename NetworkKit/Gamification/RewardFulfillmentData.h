#pragma once

#include "JsonRecord.h"

// What a used reward produced: a song, lyrics, a mnemonic or the day a streak freeze covered.
struct RewardFulfillmentData {
    std::optional<QString> audioUrl;
    std::optional<QString> lyrics;
    std::optional<QString> mnemonic;
    std::optional<QString> explanation;
    std::optional<QString> songId;
    std::optional<QString> genre;
    std::optional<QString> style;
    std::optional<QString> length;
    std::optional<QString> mnemonicType;
    std::optional<QString> type;
    std::optional<QString> subject;
    std::optional<QString> title;
    std::optional<QString> documentId;
    std::optional<QString> displayName;
    std::optional<QString> courseName;
    std::optional<int> trackNumber;
    std::optional<QString> coveredDay; // a streak freeze's missed day, "2026-03-03"
    JSON_RECORD(RewardFulfillmentData, audioUrl, lyrics, mnemonic, explanation, songId, genre, style, length,
                mnemonicType, type, subject, title, documentId, displayName, courseName, trackNumber,
                coveredDay)
};
