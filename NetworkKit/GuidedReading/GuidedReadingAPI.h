#pragma once

#include "APIClient.h"
#include "GuidedReadingPlan.h"
#include "ReadingTemplateType.h"

// Reading guides for a course, or for one of its documents.
class GuidedReadingAPI {
public:
    explicit GuidedReadingAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<GuidedReadingPlan> plan(const QString& courseId, ReadingTemplateType templateType,
                                        const std::optional<QString>& documentId) const;
    async::Task<GuidedReadingPlan> regenerate(const QString& courseId, ReadingTemplateType templateType,
                                              const std::optional<QString>& documentId) const;

private:
    APIClient client_;
};
