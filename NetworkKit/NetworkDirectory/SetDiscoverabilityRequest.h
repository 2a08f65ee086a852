#pragma once

#include "JsonRecord.h"

struct SetDiscoverabilityRequest {
    bool enabled = false;
    JSON_RECORD(SetDiscoverabilityRequest, enabled)
};
