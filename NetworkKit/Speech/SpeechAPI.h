#pragma once

#include "APIClient.h"
#include "DocumentNarrationJob.h"
#include "DocumentNarrationRequest.h"
#include "DocumentNarrationSubmission.h"
#include "TTSSpeakRequest.h"
#include "TTSSpeakResponse.h"

// Spoken audio: short clips of text, and whole documents narrated as a playlist of segments.
class SpeechAPI {
public:
    explicit SpeechAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<TTSSpeakResponse> speak(const TTSSpeakRequest& request) const;
    // Answers with the playlist when it is ready, else with a job to follow through narrationJob.
    async::Task<DocumentNarrationSubmission> narrateDocument(const QString& documentId,
                                                             const DocumentNarrationRequest& request) const;
    async::Task<DocumentNarrationJob> narrationJob(const QString& jobId) const;

private:
    APIClient client_;
};
