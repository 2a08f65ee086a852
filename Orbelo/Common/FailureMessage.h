#pragma once

#include <QString>

#include <exception>

// A failed action's line: its lead-in ("Couldn't save your school") followed by the backend's
// description of the failure, or by a full stop when the failure did not come from the backend.
class FailureMessage {
public:
    static QString compose(const QString& leadIn, std::exception_ptr error);
    // What follows "Purchase failed: " and the like: the backend's own words when it answered,
    // else the app's description of what went wrong (no connection, a timeout, …).
    static QString description(std::exception_ptr error);
};
