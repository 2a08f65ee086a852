#pragma once

#include "JsonRecord.h"

// The time-zone report: the device's IANA time-zone identifier, and the backend's unused answer.
namespace TimezoneSync {

struct Payload {
    QString timezone;
    JSON_RECORD(Payload, timezone)
};

struct Response {
    std::optional<QString> status;
    JSON_RECORD(Response, status)
};

} // namespace TimezoneSync
