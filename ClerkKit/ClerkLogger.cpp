#include "ClerkLogger.h"

#include "JsonCoding.h"

Q_LOGGING_CATEGORY(lcClerk, "com.clerk.ClerkKit.Clerk")

ClerkLogger::ClerkLogger(LogLevel minimum, Handler handler)
    : minimum_(minimum), handler_(handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr) {}

QString ClerkLogger::levelName(LogLevel level) {
    return json::rawValue(level);
}

void ClerkLogger::log(LogLevel level, const QString& message) const {
    if (level < minimum_)
        return;
    const QString line = QStringLiteral("[%1] %2").arg(levelName(level), message);
    switch (level) {
    case LogLevel::verbose:
    case LogLevel::debug:
        qCDebug(lcClerk).noquote() << line;
        break;
    case LogLevel::warning:
        qCWarning(lcClerk).noquote() << line;
        break;
    case LogLevel::error:
        qCCritical(lcClerk).noquote() << line;
        break;
    }
    if (handler_)
        (*handler_)(level, message);
}
