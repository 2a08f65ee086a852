#pragma once

#include <QString>
#include <QStringView>

// Strips emoji from generated text: pictographs, joiners, keycap marks, variation selector 16 and
// skin-tone modifiers, together with one space directly after each. Digits, '#' and '*' stay.
class EmojiFilter {
public:
    static QString removeEmoji(QStringView text);
    static bool isRemoved(char32_t codePoint);
};
