#pragma once

#include <QString>

#include <exception>

// The one sentence the narration screen shows for a failed load.
namespace NarrationMessage {

inline const QString emptyPlaylist = QStringLiteral("This document isn't ready to narrate yet.");

QString forError(std::exception_ptr error);

} // namespace NarrationMessage
