#pragma once

#include "JsonRecord.h"

#include <QString>

// Where and on what a session was last used.
struct SessionActivity {
    std::optional<QString> browserName;
    std::optional<QString> browserVersion;
    std::optional<QString> deviceType;
    std::optional<QString> ipAddress;
    std::optional<QString> city;
    std::optional<QString> country;
    std::optional<bool> isMobile;
    JSON_RECORD(SessionActivity, browserName, browserVersion, deviceType, ipAddress, city, country, isMobile)
};
