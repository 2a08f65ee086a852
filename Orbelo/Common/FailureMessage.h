#pragma once

#include <QString>

#include <exception>

// Every wording of a failure the app shows or logs: a failed action's line, the description that
// follows "Purchase failed: ", the phrase that fits inside a sentence, and the error's own words.
class FailureMessage {
public:
    // The failed action's lead-in ("Couldn't save your school") followed by the backend's
    // description of the failure, or by a full stop when the failure did not come from the backend.
    static QString compose(const QString& leadIn, std::exception_ptr error);
    // What follows "Purchase failed: " and the like: the backend's own words when it answered,
    // else the app's description of what went wrong (no connection, a timeout, …).
    static QString description(std::exception_ptr error);
    // A failure said as part of a sentence: "we're rate limited right now", "you're signed out",
    // the server's own message, or the error's description.
    static QString phrase(std::exception_ptr error);
    // The error's own words: an auth or transport error's description, else what() of any other.
    static QString describe(std::exception_ptr error);
};
