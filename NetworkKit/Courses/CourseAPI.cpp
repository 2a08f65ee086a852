#include "CourseAPI.h"

async::Task<ClassInfoResponse> CourseAPI::createClass(const ClassInfoRequest& request) const {
    return client_.post<ClassInfoResponse>(QStringLiteral("/api/class-info"), request);
}

async::Task<StudyPlanGenerationResponse>
CourseAPI::generateStudyPlan(const StudyPlanGenerationRequest& request) const {
    return client_.post<StudyPlanGenerationResponse>(QStringLiteral("/api/generate-study-plan"), request);
}
