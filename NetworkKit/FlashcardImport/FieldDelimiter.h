#pragma once

#include <QString>

#include <array>
#include <utility>

// What separates a card's term from its definition.
enum class FieldDelimiter { tab, comma, semicolon, dash };

constexpr std::array<std::pair<FieldDelimiter, const char*>, 4> jsonRawValues(FieldDelimiter) {
    return {{{FieldDelimiter::tab, "tab"},
             {FieldDelimiter::comma, "comma"},
             {FieldDelimiter::semicolon, "semicolon"},
             {FieldDelimiter::dash, "dash"}}};
}

inline QString displayName(FieldDelimiter delimiter) {
    switch (delimiter) {
    case FieldDelimiter::tab:
        return QStringLiteral("Tab");
    case FieldDelimiter::comma:
        return QStringLiteral("Comma");
    case FieldDelimiter::semicolon:
        return QStringLiteral("Semicolon");
    case FieldDelimiter::dash:
        return QStringLiteral("Dash");
    }
    return {};
}
