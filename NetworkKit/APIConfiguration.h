#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Where the backend lives: AppInfo::apiBaseUrl(), read once per process.
namespace APIConfiguration {

inline constexpr const char* fatalMessage =
    "No usable backend base URL: configure the build with ORBELO_API_BASE_URL or run with --server";

// Stops the process with fatalMessage when the value is empty or not a URL.
const QUrl& baseURL();

// The URL for the configured text, or nothing when it is unusable.
std::optional<QUrl> parseBaseURL(const QString& text);

} // namespace APIConfiguration
