#pragma once

#include <QByteArray>
#include <QString>

// The plain text of an RTF document: paragraphs and line breaks kept, formatting and embedded
// destinations (font tables, pictures, metadata) dropped. Documents nested deeper than any
// word processor writes, or with runaway control words, are refused.
class RtfText {
public:
    enum class Error { none, tooDeep, controlWordTooLong };

    static constexpr int maxDepth = 128;
    // RTF readers need take no control word longer than 32 letters, nor a parameter of more
    // digits than a 32-bit number has.
    static constexpr int maxControlWordLength = 32;
    static constexpr int maxParameterLength = 10;

    QString text;
    bool truncated = false; // the text stopped at the maximum asked for
    Error error = Error::none;

    static RtfText extract(const QByteArray& rtf, qsizetype maxChars);
};
