#pragma once

#include "APIClient.h"
#include "DocumentDeleteResponse.h"
#include "DocumentProcessingStatusResponse.h"
#include "DocumentSummaryResponse.h"
#include "DocumentUploadCompleteRequest.h"
#include "DocumentUploadCompleteResponse.h"
#include "DocumentUploadInitiateRequest.h"
#include "DocumentUploadInitiateResponse.h"
#include "GenerateSummaryRequest.h"

// The library's documents: deletion, the direct upload through a presigned URL, processing state,
// and summaries.
class DocumentsAPI {
public:
    explicit DocumentsAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<DocumentDeleteResponse> deleteDocument(const QString& documentId) const;

    // A direct upload: initiate, put the bytes to the presigned URL before it expires, complete.
    async::Task<DocumentUploadInitiateResponse>
    initiateUpload(const DocumentUploadInitiateRequest& request) const;
    // The bytes go up with the content type announced at initiation.
    static async::Task<void> uploadFile(const DocumentUploadInitiateRequest& request,
                                        const DocumentUploadInitiateResponse& initiated, QByteArray data);
    // The bytes streamed from `file`, open and at its start.
    static async::Task<void> uploadFile(const DocumentUploadInitiateRequest& request, QUrl presignedURL,
                                        std::shared_ptr<QIODevice> file,
                                        APIClient::UploadProgress progress = {});
    async::Task<DocumentUploadCompleteResponse>
    completeUpload(const DocumentUploadCompleteRequest& request) const;

    async::Task<DocumentProcessingStatusResponse> processingStatus(const QString& documentId) const;

    async::Task<DocumentSummaryResponse> summary(const QString& documentId) const;
    async::Task<DocumentSummaryResponse> generateSummary(const GenerateSummaryRequest& request) const;

private:
    APIClient client_;
};
