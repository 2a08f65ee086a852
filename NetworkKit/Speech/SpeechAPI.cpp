#include "SpeechAPI.h"

#include "JobsAPI.h"

async::Task<TTSSpeakResponse> SpeechAPI::speak(const TTSSpeakRequest& request) const {
    return client_.post<TTSSpeakResponse>(QStringLiteral("/api/tts/speak"), request);
}

async::Task<DocumentNarrationSubmission>
SpeechAPI::narrateDocument(const QString& documentId, const DocumentNarrationRequest& request) const {
    return client_.post<DocumentNarrationSubmission>(QStringLiteral("/api/tts/document/") + documentId,
                                                     request);
}

async::Task<DocumentNarrationJob> SpeechAPI::narrationJob(const QString& jobId) const {
    return client_.get<DocumentNarrationJob>(JobsAPI::statusPath(jobId));
}
