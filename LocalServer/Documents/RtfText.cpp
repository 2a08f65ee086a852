#include "Documents/RtfText.h"

#include <QList>
#include <QSet>
#include <QStringDecoder>

RtfText RtfText::extract(const QByteArray& rtf, qsizetype maxChars) {
    static const QSet<QByteArray> skippedDestinations = {
        "fonttbl",   "colortbl",  "stylesheet",        "info",     "pict",
        "header",    "footer",    "footnote",          "object",   "themedata",
        "datastore", "listtable", "listoverridetable", "generator"};
    QStringDecoder windows1252("windows-1252");
    RtfText result;
    QString& out = result.text;
    // One entry per open group: whether its text is skipped.
    QList<bool> skipping{false};
    int unicodeFallback = 1; // characters to skip after \uN
    int pendingSkip = 0;
    const qsizetype size = rtf.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (out.size() > maxChars)
            break; // truncated below
        const char c = rtf[i];
        if (c == '{') {
            if (skipping.size() > maxDepth) {
                result.error = Error::tooDeep;
                break;
            }
            skipping.append(skipping.last());
        } else if (c == '}') {
            if (skipping.size() > 1)
                skipping.removeLast();
        } else if (c == '\\' && i + 1 < size) {
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                if (!skipping.last())
                    out += QChar(next);
                ++i;
            } else if (next == '*') {
                skipping.last() = true; // an ignorable destination
                ++i;
            } else if (next == '\'' && i + 3 < size) {
                const QByteArray hex = rtf.mid(i + 2, 2);
                bool ok = false;
                const char byte = char(hex.toInt(&ok, 16));
                if (ok && !skipping.last()) {
                    if (pendingSkip > 0)
                        --pendingSkip;
                    else
                        out += windows1252.decode(QByteArray(1, byte));
                }
                i += 3;
            } else if (next == '~') {
                if (!skipping.last())
                    out += QChar(0xA0);
                ++i;
            } else {
                qsizetype j = i + 1;
                while (j < size && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                qsizetype k = j;
                if (k < size && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) {
                    ++k;
                    while (k < size && std::isdigit(static_cast<unsigned char>(rtf[k])))
                        ++k;
                }
                const qsizetype digits = k - j - (k > j && rtf[j] == '-' ? 1 : 0);
                if (j - i - 1 > maxControlWordLength || digits > maxParameterLength) {
                    result.error = Error::controlWordTooLong;
                    break;
                }
                const QByteArray word = rtf.mid(i + 1, j - i - 1);
                const int parameter = rtf.mid(j, k - j).toInt();
                if (k < size && rtf[k] == ' ')
                    ++k; // the delimiter space belongs to the control word
                i = k - 1;
                if (skippedDestinations.contains(word)) {
                    skipping.last() = true;
                } else if (skipping.last()) {
                    continue;
                } else if (word == "par" || word == "line" || word == "sect" || word == "page") {
                    out += '\n';
                } else if (word == "tab") {
                    out += '\t';
                } else if (word == "uc") {
                    unicodeFallback = parameter;
                } else if (word == "u") {
                    out += QChar(char16_t(parameter < 0 ? parameter + 65536 : parameter));
                    pendingSkip = unicodeFallback;
                }
            }
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (!skipping.last()) {
            if (pendingSkip > 0)
                --pendingSkip;
            else
                out += QChar::fromLatin1(c);
        }
    }
    if (out.size() > maxChars) {
        out.truncate(maxChars);
        result.truncated = true;
    }
    return result;
}
