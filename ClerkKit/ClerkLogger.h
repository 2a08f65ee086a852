#pragma once

#include "LogLevel.h"

#include <QLoggingCategory>
#include <QString>

#include <functional>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcClerk)

// The auth client's log: messages at or above the configured level go to the "Clerk" category and
// to the optional handler. Cheap to copy; every copy shares the handler. Call it on the main thread.
class ClerkLogger {
public:
    using Handler = std::function<void(LogLevel, const QString&)>;

    explicit ClerkLogger(LogLevel minimum = LogLevel::verbose, Handler handler = {});

    void log(LogLevel level, const QString& message) const;
    void verbose(const QString& message) const { log(LogLevel::verbose, message); }
    void debug(const QString& message) const { log(LogLevel::debug, message); }
    void warning(const QString& message) const { log(LogLevel::warning, message); }
    void error(const QString& message) const { log(LogLevel::error, message); }

    // "VERBOSE", "DEBUG", "WARNING", "ERROR".
    static QString levelName(LogLevel level);

private:
    LogLevel minimum_;
    std::shared_ptr<const Handler> handler_;
};
