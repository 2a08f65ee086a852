#pragma once

#include "JsonRecord.h"

struct DiscoverabilityStatusResponse {
    bool isSchoolDiscoverable = false;
    bool hasUniversity = false;
    JSON_RECORD(DiscoverabilityStatusResponse, isSchoolDiscoverable, hasUniversity)
};
