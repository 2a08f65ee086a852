#pragma once

#include "JsonRecord.h"

struct DiscoverabilityStatus {
    bool isSchoolDiscoverable = false;
    bool hasUniversity = false;
    JSON_RECORD(DiscoverabilityStatus, isSchoolDiscoverable, hasUniversity)
};
