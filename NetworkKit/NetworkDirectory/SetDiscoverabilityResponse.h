#pragma once

#include "JsonRecord.h"

struct SetDiscoverabilityResponse {
    bool isSchoolDiscoverable = false;
    JSON_RECORD(SetDiscoverabilityResponse, isSchoolDiscoverable)
};
