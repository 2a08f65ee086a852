#pragma once

#include "APIClient.h"
#include "ClassInfoRequest.h"
#include "ClassInfoResponse.h"
#include "StudyPlanGenerationRequest.h"
#include "StudyPlanGenerationResponse.h"

// Creating a course by hand and starting its study plan.
class CourseAPI {
public:
    explicit CourseAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<ClassInfoResponse> createClass(const ClassInfoRequest& request) const;
    async::Task<StudyPlanGenerationResponse>
    generateStudyPlan(const StudyPlanGenerationRequest& request) const;

private:
    APIClient client_;
};
