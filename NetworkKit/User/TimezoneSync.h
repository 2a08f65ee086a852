#pragma once

#include "APIClient.h"
#include "JsonRecord.h"
#include "PreferencesStore.h"

// Tells the backend the user's time zone once per change, so that server-side schedules use
// local time: the device's IANA identifier, and the backend's unused answer.
namespace TimezoneSync {

struct Payload {
    QString timezone;
    JSON_RECORD(Payload, timezone)
};

struct Response {
    std::optional<QString> status;
    JSON_RECORD(Response, status)
};

// The preference key that remembers the zone the backend accepted for this user.
QString storageKey(const std::optional<QString>& userId);

// Reports the system's zone unless this user already has it. Never throws: a failure is logged and
// the next run tries again. `defaults` must outlive the task.
async::Task<void> syncIfNeeded(APIClient api, std::optional<QString> userId, PreferencesStore& defaults);
async::Task<void> syncIfNeeded(APIClient api, std::optional<QString> userId, PreferencesStore& defaults,
                               QString timeZoneId);

} // namespace TimezoneSync
