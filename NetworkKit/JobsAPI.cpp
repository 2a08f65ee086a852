#include "JobsAPI.h"

#include "GenerationJobStatus.h"

QString JobsAPI::statusPath(const QString& jobId) {
    const QByteArray encoded = QUrl::toPercentEncoding(jobId, "!$&'()*+,;=:@/");
    return QStringLiteral("/api/jobs/") + QString::fromLatin1(encoded);
}

APIError JobsAPI::deadlineError(const QString& jobId, std::chrono::milliseconds limit,
                                GenerationJobStatus last) {
    return APIError::server(504,
                            QStringLiteral("Generation job %1 did not finish within %2s (last status: %3)")
                                .arg(jobId)
                                .arg(std::chrono::duration_cast<std::chrono::seconds>(limit).count())
                                .arg(json::rawValue(last)));
}
