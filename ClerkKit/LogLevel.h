#pragma once

#include <array>
#include <utility>

// How much the auth client logs, in rising order of severity.
enum class LogLevel { verbose, debug, warning, error };

constexpr std::array<std::pair<LogLevel, const char*>, 4> jsonRawValues(LogLevel) {
    return {{{LogLevel::verbose, "VERBOSE"},
             {LogLevel::debug, "DEBUG"},
             {LogLevel::warning, "WARNING"},
             {LogLevel::error, "ERROR"}}};
}
