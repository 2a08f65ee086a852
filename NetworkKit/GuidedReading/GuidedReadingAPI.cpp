#include "GuidedReadingAPI.h"

#include "EmptyRequestBody.h"
#include "GenerationCall.h"

namespace {
QString guidePath(const QString& courseId, const char* action, ReadingTemplateType templateType,
                  const std::optional<QString>& documentId) {
    QString path = QStringLiteral("/api/guided-reading/") + courseId + QLatin1Char('/') +
                   QLatin1String(action) + QStringLiteral("?template_type=") + json::rawValue(templateType);
    if (documentId)
        path += QStringLiteral("&document_id=") + *documentId;
    return path;
}
} // namespace

async::Task<GuidedReadingPlan> GuidedReadingAPI::plan(const QString& courseId,
                                                      ReadingTemplateType templateType,
                                                      const std::optional<QString>& documentId) const {
    return client_.get<GuidedReadingPlan>(guidePath(courseId, "plan", templateType, documentId));
}

async::Task<GuidedReadingPlan> GuidedReadingAPI::regenerate(const QString& courseId,
                                                            ReadingTemplateType templateType,
                                                            const std::optional<QString>& documentId) const {
    return postGeneration<GuidedReadingPlan>(
        client_, guidePath(courseId, "regenerate", templateType, documentId), EmptyRequestBody{});
}
