#include "Library/NarrationMessage.h"

#include "APIError.h"
#include "Library/NarrationJobError.h"

namespace {

const QString notReady =
    QStringLiteral("This document isn't ready to narrate yet. Try again once it finishes processing.");

QString forJobError(const NarrationJobError& error) {
    switch (error.kind()) {
    case NarrationJobError::Kind::malformed:
        return QStringLiteral("The narration finished but returned no audio. Please try again.");
    case NarrationJobError::Kind::timedOut:
        return QStringLiteral("This is taking longer than expected. Please try again in a moment.");
    case NarrationJobError::Kind::failed:
        if (error.message() && error.message()->contains(QLatin1String("404")))
            return notReady;
        return QStringLiteral("We couldn't generate the narration. Please try again.");
    }
    Q_UNREACHABLE();
}

QString forAPIError(const APIError& error) {
    switch (error.kind()) {
    case APIError::Kind::server:
        if (error.status() == 429)
            return QStringLiteral("You're going a little fast. Please wait a moment and try again.");
        if (error.status() == 404)
            return notReady;
        if (error.status() >= 500 && error.status() <= 599)
            return QStringLiteral(
                "The narration service is temporarily unavailable. Please try again in a moment.");
        return QStringLiteral("We couldn't prepare this narration. Please try again.");
    case APIError::Kind::decoding:
        return QStringLiteral("Something went wrong preparing the narration. Please try again.");
    case APIError::Kind::transport:
        return QStringLiteral("Couldn't reach the server. Check your connection and try again.");
    case APIError::Kind::unauthorized:
        return QStringLiteral("Your session has expired. Please sign in again.");
    }
    Q_UNREACHABLE();
}

} // namespace

QString NarrationMessage::forError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const NarrationJobError& e) {
        return forJobError(e);
    } catch (const APIError& e) {
        return forAPIError(e);
    } catch (...) {
        return QStringLiteral("Something went wrong. Please try again.");
    }
}
