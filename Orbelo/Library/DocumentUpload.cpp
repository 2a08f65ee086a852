#include "Library/DocumentUpload.h"

#include "Common/FailureMessage.h"
#include "Documents/DocumentsAPI.h"
#include "Library/AcceptedFileTypes.h"
#include "Library/DocumentUploadError.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString readFailure = QStringLiteral("Couldn't read file: ");

// A storage URL the PUT can go to: absolute http(s) with a host.
std::optional<QUrl> presignedURL(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        return std::nullopt;
    return url;
}

} // namespace

async::Task<DocumentUpload::Result> DocumentUpload::run(APIClient client, QString filePath,
                                                        std::optional<QString> courseId,
                                                        APIClient::UploadProgress progress) {
    const QString filename = QFileInfo(filePath).fileName();
    const auto file = std::make_shared<QFile>(filePath);
    if (!file->exists())
        throw DocumentUploadError(readFailure + filename + QStringLiteral(" is no longer there."));
    if (!file->open(QIODevice::ReadOnly))
        throw DocumentUploadError(readFailure + file->errorString() + u'.');
    const qint64 size = file->size();
    if (size == 0)
        throw DocumentUploadError(filename + QStringLiteral(" is empty, so there is nothing to upload."));
    if (size > maximumSize)
        throw DocumentUploadError(filename +
                                  QStringLiteral(" is too large to upload. Files can be up to %1 MB.")
                                      .arg(maximumSize / (1024 * 1024)));

    const DocumentsAPI api(std::move(client));
    DocumentUploadInitiateRequest initiate;
    initiate.filename = filename;
    initiate.fileSize = size;
    initiate.contentType = AcceptedFileTypes::contentType(filename);
    initiate.courseId = courseId;
    try {
        const DocumentUploadInitiateResponse initiated = co_await api.initiateUpload(initiate);
        const auto url = presignedURL(initiated.presignedUrl);
        if (!url)
            throw DocumentUploadError(QStringLiteral("Upload failed: invalid presigned URL from server."));
        co_await DocumentsAPI::uploadFile(initiate, *url, file, std::move(progress));

        DocumentUploadCompleteRequest complete;
        complete.documentId = initiated.documentId;
        complete.s3Key = initiated.s3Key;
        complete.originalFilename = filename;
        complete.courseId = courseId;
        complete.skipSyllabusExtraction = courseId.has_value();
        Result result;
        result.documentId = initiated.documentId;
        result.completion = co_await api.completeUpload(complete);
        co_return result;
    } catch (const DocumentUploadError&) {
        throw;
    } catch (...) {
        throw DocumentUploadError(QStringLiteral("Upload failed: ") +
                                  FailureMessage::describe(std::current_exception()));
    }
}
