#pragma once

#include "Import/NotecardParser.h"

#include <QStringList>

// Splits a deck into rows of fields, one row per card, by a field and a card separator. A field
// that starts with a quote is read as in CSV: separators and line breaks inside belong to it and
// "" stands for a quote.
class NotecardRowReader {
public:
    struct Row {
        int line = 0;  // the row's first line, from 1
        int lines = 0; // how many lines it spans
        qsizetype start = 0;
        qsizetype end = 0; // the row's text in the deck
        QStringList fields;
    };

    NotecardRowReader(const QString& text, NotecardParser::Field field, NotecardParser::CardBreak cardBreak)
        : text_(text), field_(field), cardBreak_(cardBreak) {}

    // The next row, false at the end of the deck. Blank lines between rows are skipped.
    bool next(Row* row);

private:
    void skipBlankLines();
    // Whether the line after the line end at `newline` is blank, or the text ends there.
    bool blankLineFollows(qsizetype newline) const;
    // The length of the field separator at `pos`, 0 when there is none.
    qsizetype delimiterAt(qsizetype pos) const;
    bool readQuoted(QString* field);

    const QString& text_;
    NotecardParser::Field field_;
    NotecardParser::CardBreak cardBreak_;
    qsizetype pos_ = 0;
    int line_ = 1;
};
