#include "SpeechAPI.h"

#include "Clock.h"
#include "JobsAPI.h"

#include <algorithm>

async::Task<TTSSpeakResponse> SpeechAPI::speak(const TTSSpeakRequest& request) const {
    return speakWhenFree(client_, request);
}

async::Task<TTSSpeakResponse> SpeechAPI::speakWhenFree(APIClient client, TTSSpeakRequest request) {
    for (int attempt = 1;; ++attempt) {
        std::optional<std::chrono::seconds> wait;
        try {
            co_return co_await client.post<TTSSpeakResponse>(QStringLiteral("/api/tts/speak"), request);
        } catch (const APIError& e) {
            if (e.status() != 503 || !e.retryAfterSeconds() || attempt >= busyAttempts)
                throw;
            wait = std::min(std::chrono::seconds(*e.retryAfterSeconds()), maxBusyWait);
        }
        co_await async::Clock::current().sleep(*wait);
    }
}

async::Task<DocumentNarrationSubmitResponse>
SpeechAPI::narrateDocument(const QString& documentId, const DocumentNarrationRequest& request) const {
    return client_.post<DocumentNarrationSubmitResponse>(QStringLiteral("/api/tts/document/") + documentId,
                                                         request);
}

async::Task<DocumentNarrationJobResponse> SpeechAPI::narrationJob(const QString& jobId) const {
    return client_.get<DocumentNarrationJobResponse>(JobsAPI::statusPath(jobId));
}
