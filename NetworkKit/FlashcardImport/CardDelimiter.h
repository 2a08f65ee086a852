#pragma once

#include <QString>

#include <array>
#include <utility>

// What separates one card from the next.
enum class CardDelimiter { newline, blankLine };

constexpr std::array<std::pair<CardDelimiter, const char*>, 2> jsonRawValues(CardDelimiter) {
    return {{{CardDelimiter::newline, "newline"}, {CardDelimiter::blankLine, "blank_line"}}};
}

inline QString displayName(CardDelimiter delimiter) {
    switch (delimiter) {
    case CardDelimiter::newline:
        return QStringLiteral("New line");
    case CardDelimiter::blankLine:
        return QStringLiteral("Blank line");
    }
    return {};
}
