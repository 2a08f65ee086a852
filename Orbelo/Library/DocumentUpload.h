#pragma once

// moc needs a Qt header before <coroutine>.
#include <QString>

#include "APIClient.h"
#include "Documents/DocumentUploadCompleteResponse.h"

#include <optional>

// One file's way into the library: checked on disk, announced to the backend, streamed to the
// presigned storage URL and completed. Every failure is a DocumentUploadError with its line.
class DocumentUpload {
public:
    // The backend's upload limit.
    static constexpr qint64 maximumSize = 64 * 1024 * 1024;

    struct Result {
        QString documentId;
        DocumentUploadCompleteResponse completion;
    };

    // Without a course the backend checks the file for a syllabus; with one it does not.
    static async::Task<Result> run(APIClient client, QString filePath, std::optional<QString> courseId,
                                   APIClient::UploadProgress progress);
};
