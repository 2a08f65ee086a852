#include "DocumentsAPI.h"

#include "GenerationCall.h"

async::Task<DocumentDeleteResponse> DocumentsAPI::deleteDocument(const QString& documentId) const {
    return client_.delete_<DocumentDeleteResponse>(QStringLiteral("/api/documents/") + documentId);
}

async::Task<DocumentUploadInitiateResponse>
DocumentsAPI::initiateUpload(const DocumentUploadInitiateRequest& request) const {
    return client_.post<DocumentUploadInitiateResponse>(QStringLiteral("/api/v2/uploads/document/initiate"),
                                                        request);
}

async::Task<void> DocumentsAPI::uploadFile(const DocumentUploadInitiateRequest& request,
                                           const DocumentUploadInitiateResponse& initiated, QByteArray data) {
    return APIClient::uploadToPresignedURL(
        QUrl(initiated.presignedUrl), std::move(data),
        request.contentType.value_or(QStringLiteral("application/octet-stream")));
}

async::Task<void> DocumentsAPI::uploadFile(const DocumentUploadInitiateRequest& request, QUrl presignedURL,
                                           std::shared_ptr<QIODevice> file,
                                           APIClient::UploadProgress progress) {
    return APIClient::uploadToPresignedURL(
        std::move(presignedURL), std::move(file),
        request.contentType.value_or(QStringLiteral("application/octet-stream")), std::move(progress));
}

async::Task<DocumentUploadCompleteResponse>
DocumentsAPI::completeUpload(const DocumentUploadCompleteRequest& request) const {
    return client_.post<DocumentUploadCompleteResponse>(QStringLiteral("/api/v2/uploads/document/complete"),
                                                        request);
}

async::Task<DocumentProcessingStatusResponse>
DocumentsAPI::processingStatus(const QString& documentId) const {
    return client_.get<DocumentProcessingStatusResponse>(QStringLiteral("/api/documents/") + documentId +
                                                         QStringLiteral("/status"));
}

async::Task<DocumentSummaryResponse> DocumentsAPI::summary(const QString& documentId) const {
    return client_.get<DocumentSummaryResponse>(QStringLiteral("/api/bookshelf/summaries/") + documentId);
}

async::Task<DocumentSummaryResponse>
DocumentsAPI::generateSummary(const GenerateSummaryRequest& request) const {
    return postGeneration<DocumentSummaryResponse>(client_, QStringLiteral("/api/bookshelf/generate-summary"),
                                                   request);
}
