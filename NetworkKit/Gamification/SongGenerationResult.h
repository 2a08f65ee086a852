#pragma once

#include "JsonRecord.h"

struct SongGenerationResult {
    std::optional<bool> success;
    std::optional<QString> songId;
    std::optional<QString> taskId;
    std::optional<QString> status;
    std::optional<QString> lyrics;
    std::optional<QString> genre;
    std::optional<QString> audioUrl;
    std::optional<QString> videoUrl;
    JSON_RECORD(SongGenerationResult, success, songId, taskId, status, lyrics, genre, audioUrl, videoUrl)
};
