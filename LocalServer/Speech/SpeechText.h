#pragma once

#include <QString>

// Text as festival and flite read it. They take ASCII: other bytes are spelled out as noise or
// dropped, so accents are taken off, typographic quotes and dashes made plain and anything else
// left out.
class SpeechText {
public:
    static QString ascii(const QString& text);
};
