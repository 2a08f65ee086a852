#pragma once

#include "JsonRecord.h"

struct DeviceRegistrationResponse {
    bool success = false;
    QString message;
    JSON_RECORD(DeviceRegistrationResponse, success, message)
};
