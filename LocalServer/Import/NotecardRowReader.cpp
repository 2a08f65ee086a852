#include "Import/NotecardRowReader.h"

using Field = NotecardParser::Field;
using CardBreak = NotecardParser::CardBreak;

bool NotecardRowReader::next(Row* row) {
    const qsizetype n = text_.size();
    skipBlankLines();
    if (pos_ >= n)
        return false;
    row->line = line_;
    row->start = pos_;
    row->fields.clear();
    QString current;
    bool fieldStart = true;
    // Plain text is copied in runs, from `from` up to the next separator.
    qsizetype from = pos_;
    while (pos_ < n) {
        const QChar c = text_[pos_];
        if (fieldStart && c == u'"' && field_ != Field::dash && readQuoted(&current)) {
            fieldStart = false;
            from = pos_;
            continue;
        }
        fieldStart = false;
        if (c == u'\n') {
            if (cardBreak_ == CardBreak::newline || blankLineFollows(pos_))
                break;
            ++pos_;
            ++line_;
            continue;
        }
        if (const qsizetype length = delimiterAt(pos_)) {
            current.append(QStringView(text_).mid(from, pos_ - from));
            row->fields.append(std::move(current));
            current = QString();
            pos_ += length;
            from = pos_;
            fieldStart = true;
            continue;
        }
        ++pos_;
    }
    current.append(QStringView(text_).mid(from, pos_ - from));
    row->fields.append(current);
    row->end = pos_;
    row->lines = line_ - row->line + 1;
    if (pos_ < n) {
        ++pos_;
        ++line_;
    }
    return true;
}

void NotecardRowReader::skipBlankLines() {
    const qsizetype n = text_.size();
    while (pos_ < n) {
        qsizetype p = pos_;
        while (p < n && (text_[p] == u' ' || text_[p] == u'\t'))
            ++p;
        if (p < n && text_[p] != u'\n')
            return;
        pos_ = p < n ? p + 1 : n;
        if (p < n)
            ++line_;
    }
}

bool NotecardRowReader::blankLineFollows(qsizetype newline) const {
    qsizetype p = newline + 1;
    while (p < text_.size() && (text_[p] == u' ' || text_[p] == u'\t'))
        ++p;
    return p >= text_.size() || text_[p] == u'\n';
}

qsizetype NotecardRowReader::delimiterAt(qsizetype pos) const {
    const QChar c = text_[pos];
    switch (field_) {
    case Field::tab:
        return c == u'\t' ? 1 : 0;
    case Field::comma:
        return c == u',' ? 1 : 0;
    case Field::semicolon:
        return c == u';' ? 1 : 0;
    case Field::dash:
        if (c != u' ' || pos + 2 >= text_.size() || text_[pos + 2] != u' ')
            return 0;
        return text_[pos + 1] == u'-' || text_[pos + 1] == u'\u2013' || text_[pos + 1] == u'\u2014' ? 3 : 0;
    }
    return 0;
}

// A CSV-quoted field from the quote at pos_ ("" stands for a quote). A quote that is not closed
// within a definition's length is an ordinary character: one stray quote must not swallow the
// rest of the deck.
bool NotecardRowReader::readQuoted(QString* field) {
    QString value;
    int lines = 0;
    for (qsizetype p = pos_ + 1; p < text_.size() && p - pos_ <= NotecardParser::maxDefinitionChars; ++p) {
        const QChar c = text_[p];
        if (c == u'"') {
            if (p + 1 < text_.size() && text_[p + 1] == u'"') {
                value.append(c);
                ++p;
                continue;
            }
            field->append(value);
            pos_ = p + 1;
            line_ += lines;
            return true;
        }
        if (c == u'\n')
            ++lines;
        value.append(c);
    }
    return false;
}
