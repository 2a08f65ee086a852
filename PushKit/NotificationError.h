#pragma once

#include <QString>

#include <stdexcept>

// A request the notification agent refused or could not take; what() says why in a sentence
// fit for the user.
class NotificationError : public std::runtime_error {
public:
    enum class Kind {
        // The agent is not installed, could not be started or did not answer.
        agentUnavailable,
        // The agent refused the request (a bad argument, too many pending).
        refused,
    };

    NotificationError(Kind kind, const QString& message);

    Kind kind() const { return kind_; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind kind_;
};
