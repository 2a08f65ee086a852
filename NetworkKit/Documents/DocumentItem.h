#pragma once

#include "JsonPath.h"

#include <QJsonValue>
#include <QString>

#include <optional>

// One document of the library. Read leniently: only the id is required, and a field of the wrong
// type reads as absent.
struct DocumentItem {
    enum class ProcessingState { processing, failed, ready };

    QString id;
    std::optional<QString> filename;
    std::optional<QString> title;
    std::optional<QString> documentType;
    std::optional<QString> fileType;
    std::optional<QString> courseId;
    std::optional<int> chunkCount;
    std::optional<QString> uploadedAt;
    std::optional<QString> status;

    ProcessingState processingState() const;

    // The id is `document_id` over `id`; the upload time is `uploaded_at` over `timestamp`.
    static DocumentItem decodeJson(const QJsonValue& value, const json::Path& path);
};
