#pragma once

#include <QUrl>
#include <QVariant>

#include <optional>

// Where the backend lives: the build's "API_BASE_URL", read once per process.
namespace APIConfiguration {

inline constexpr const char* fatalMessage =
    "API_BASE_URL missing or invalid in Info.plist — check the active xcconfig";

// Stops the process with fatalMessage when the value is missing, not a string, empty or not a URL.
const QUrl& baseURL();

// The URL for a raw bundle value, or nothing when it is unusable.
std::optional<QUrl> parseBaseURL(const QVariant& value);

} // namespace APIConfiguration
