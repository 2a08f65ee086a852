#include "ClerkAPIError.h"

QString ClerkAPIError::localizedDescription() const {
    if (longMessage && !longMessage->isEmpty())
        return *longMessage;
    if (message && !message->isEmpty())
        return *message;
    return code;
}

const char* ClerkAPIError::what() const noexcept {
    what_ = localizedDescription().toUtf8();
    return what_.constData();
}
