#pragma once

#include "APIClient.h"
#include "DocumentNarrationJobResponse.h"
#include "DocumentNarrationRequest.h"
#include "DocumentNarrationSubmitResponse.h"
#include "TTSSpeakRequest.h"
#include "TTSSpeakResponse.h"

#include <chrono>

// Spoken audio: short clips of text, and whole documents narrated as a playlist of segments.
class SpeechAPI {
public:
    explicit SpeechAPI(APIClient client) : client_(std::move(client)) {}

    // A busy speech service answers 503 with Retry-After: the call waits that long (at most
    // maxBusyWait) and asks again, up to busyAttempts in all, then fails with the service's message.
    static constexpr int busyAttempts = 3;
    static constexpr std::chrono::seconds maxBusyWait{30};

    async::Task<TTSSpeakResponse> speak(const TTSSpeakRequest& request) const;
    // Answers with the playlist when it is ready, else with a job to follow through narrationJob.
    async::Task<DocumentNarrationSubmitResponse>
    narrateDocument(const QString& documentId, const DocumentNarrationRequest& request) const;
    async::Task<DocumentNarrationJobResponse> narrationJob(const QString& jobId) const;

private:
    static async::Task<TTSSpeakResponse> speakWhenFree(APIClient client, TTSSpeakRequest request);

    APIClient client_;
};
