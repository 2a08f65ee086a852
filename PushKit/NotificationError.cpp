#include "NotificationError.h"

NotificationError::NotificationError(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString()), kind_(kind) {}
