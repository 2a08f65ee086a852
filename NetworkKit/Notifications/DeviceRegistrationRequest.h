#pragma once

#include "JsonRecord.h"

struct DeviceRegistrationRequest {
    QString deviceToken;
    QString platform;
    std::optional<QString> appVersion;
    JSON_RECORD(DeviceRegistrationRequest, deviceToken, platform, appVersion)
};
