#include "GridContainerStyle.h"

#include "HTMLScanner.h"

#include <QString>
#include <algorithm>
#include <limits>

namespace {

qsizetype skipSpaces(QStringView text, qsizetype pos) {
    while (pos < text.size() && HTMLScanner::isSpace(text[pos]))
        ++pos;
    return pos;
}

// The value after the first occurrence of `property` that reads "property\s*:\s*([^;"']+)".
QStringView styleValue(QStringView tag, QLatin1StringView property) {
    qsizetype found = tag.indexOf(property, 0, Qt::CaseInsensitive);
    while (found >= 0) {
        qsizetype pos = skipSpaces(tag, found + property.size());
        if (pos < tag.size() && tag[pos] == u':') {
            pos = skipSpaces(tag, pos + 1);
            qsizetype end = pos;
            while (end < tag.size() && tag[end] != u';' && tag[end] != u'"' && tag[end] != u'\'')
                ++end;
            if (end > pos)
                return tag.mid(pos, end - pos).trimmed();
        }
        found = tag.indexOf(property, found + 1, Qt::CaseInsensitive);
    }
    return {};
}

// "display\s*:\s*(?:grid|flex)", reporting which of the two matched.
GridContainerStyle::Layout displayLayout(QStringView tag) {
    const QLatin1StringView display("display");
    qsizetype found = tag.indexOf(display, 0, Qt::CaseInsensitive);
    while (found >= 0) {
        qsizetype pos = skipSpaces(tag, found + display.size());
        if (pos < tag.size() && tag[pos] == u':') {
            pos = skipSpaces(tag, pos + 1);
            const QStringView value = tag.mid(pos);
            if (value.startsWith(QLatin1StringView("grid"), Qt::CaseInsensitive))
                return GridContainerStyle::Layout::grid;
            if (value.startsWith(QLatin1StringView("flex"), Qt::CaseInsensitive))
                return GridContainerStyle::Layout::flexRow;
        }
        found = tag.indexOf(display, found + 1, Qt::CaseInsensitive);
    }
    return GridContainerStyle::Layout::none;
}

// "repeat\(\s*(\d+)\s*,[^)]*\)": the count of the first repeat() that has a ')' after its comma.
qsizetype repeatCount(QStringView value) {
    const QLatin1StringView repeat("repeat(");
    const qsizetype lastParen = value.lastIndexOf(u')');
    qsizetype found = value.indexOf(repeat, 0, Qt::CaseInsensitive);
    while (found >= 0) {
        const qsizetype digits = skipSpaces(value, found + repeat.size());
        qsizetype pos = digits;
        while (pos < value.size() && value[pos].isDigit() && value[pos].unicode() < 128)
            ++pos;
        const qsizetype digitsEnd = pos;
        pos = skipSpaces(value, pos);
        if (digitsEnd > digits && pos < value.size() && value[pos] == u',' && lastParen > pos) {
            bool ok = false;
            const qsizetype count = value.mid(digits, digitsEnd - digits).toLongLong(&ok);
            return ok ? count : std::numeric_limits<qsizetype>::max();
        }
        found = value.indexOf(repeat, found + 1, Qt::CaseInsensitive);
    }
    return 0;
}

// The number of tracks in an explicit list such as "1fr 2fr auto".
qsizetype trackCount(QStringView value) {
    qsizetype count = 0;
    int depth = 0;
    bool inTrack = false;
    for (QChar c : value) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        if (depth == 0 && HTMLScanner::isSpace(c)) {
            inTrack = false;
        } else if (!inTrack) {
            inTrack = true;
            ++count;
        }
    }
    return count;
}

} // namespace

GridContainerStyle GridContainerStyle::fromOpeningTag(QStringView tag) {
    GridContainerStyle style;
    style.m_layout = displayLayout(tag);
    if (style.m_layout == Layout::flexRow) {
        if (styleValue(tag, QLatin1StringView("flex-direction")).contains(u"column", Qt::CaseInsensitive))
            style.m_layout = Layout::flexColumn;
    } else if (style.m_layout == Layout::grid) {
        const QStringView value = styleValue(tag, QLatin1StringView("grid-template-columns"));
        const qsizetype repeated = repeatCount(value);
        style.m_gridColumns = repeated > 0 ? repeated : trackCount(value);
    }
    return style;
}

int GridContainerStyle::columns(qsizetype cellCount) const {
    qsizetype wanted = 1;
    if (m_layout == Layout::grid)
        wanted = m_gridColumns;
    else if (m_layout == Layout::flexRow)
        wanted = cellCount;
    return int(std::clamp<qsizetype>(wanted, 1, std::max<qsizetype>(1, cellCount)));
}
