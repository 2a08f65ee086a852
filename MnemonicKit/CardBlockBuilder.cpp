#include "CardBlockBuilder.h"

#include "GridContainerStyle.h"
#include "HTMLScanner.h"
#include "HTMLTextConverter.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

const QLatin1StringView divName("div");
const QLatin1StringView tableName("table");

bool isVoidElement(QStringView name) {
    static constexpr std::array<QLatin1StringView, 14> names{
        QLatin1StringView("area"),  QLatin1StringView("base"),  QLatin1StringView("br"),
        QLatin1StringView("col"),   QLatin1StringView("embed"), QLatin1StringView("hr"),
        QLatin1StringView("img"),   QLatin1StringView("input"), QLatin1StringView("link"),
        QLatin1StringView("meta"),  QLatin1StringView("param"), QLatin1StringView("source"),
        QLatin1StringView("track"), QLatin1StringView("wbr")};
    return std::any_of(names.begin(), names.end(),
                       [&](QLatin1StringView n) { return name.compare(n, Qt::CaseInsensitive) == 0; });
}

// The direct children of a container: each top-level element, and each run of text between them.
QList<QStringView> childFragments(QStringView inner) {
    const HTMLScanner scanner(inner);
    QList<QStringView> children;
    int depth = 0;
    qsizetype childStart = 0;
    auto closeChild = [&](qsizetype end) {
        if (end > childStart)
            children.append(inner.mid(childStart, end - childStart));
        childStart = end;
    };
    qsizetype pos = inner.indexOf(u'<');
    while (pos >= 0) {
        const qsizetype end = scanner.tagEnd(pos);
        if (end < 0) {
            pos = inner.indexOf(u'<', pos + 1);
            continue;
        }
        const QStringView body = inner.mid(pos + 1, end - pos - 2);
        const bool closing = body.startsWith(u'/');
        const QStringView name = body.mid(closing ? 1 : 0);
        qsizetype nameLength = 0;
        while (nameLength < name.size() && HTMLScanner::isWordChar(name[nameLength]))
            ++nameLength;
        const bool isElement = nameLength > 0 && name[0].isLetter();
        const bool opens =
            isElement && !closing && !body.endsWith(u'/') && !isVoidElement(name.left(nameLength));
        if (opens) {
            if (depth++ == 0)
                closeChild(pos);
        } else if (isElement && closing && depth > 0) {
            if (--depth == 0)
                closeChild(end);
        }
        pos = inner.indexOf(u'<', end);
    }
    closeChild(inner.size());
    return children;
}

// The lazily matched elements "<name\b[^>]*>([\s\S]*?)</name\s*>" of a fragment, as inner HTML.
QList<QStringView> lazyElements(QStringView html, QLatin1StringView name) {
    const HTMLScanner scanner(html);
    QList<QStringView> contents;
    qsizetype from = 0;
    while (true) {
        const HTMLScanner::Range open = scanner.firstOpeningTag(from, name);
        if (!open.isValid())
            break;
        const HTMLScanner::Range close = scanner.firstClose(open.end, name);
        if (!close.isValid())
            break;
        contents.append(html.mid(open.end, close.start - open.end));
        from = close.end;
    }
    return contents;
}

// The cells "<(td|th)\b[^>]*>([\s\S]*?)</\1\s*>" of a row, in order.
QStringList rowCells(QStringView row) {
    const HTMLScanner scanner(row);
    QStringList cells;
    bool unclosed[2] = {false, false};
    const QLatin1StringView names[2] = {QLatin1StringView("td"), QLatin1StringView("th")};
    qsizetype pos = row.indexOf(u'<');
    while (pos >= 0) {
        qsizetype next = pos + 1;
        for (int n = 0; n < 2; ++n) {
            if (unclosed[n])
                continue;
            const qsizetype openEnd = scanner.openingTagEnd(pos, names[n]);
            if (openEnd < 0)
                continue;
            const HTMLScanner::Range close = scanner.firstClose(openEnd, names[n]);
            if (!close.isValid()) {
                // No later cell of this kind can find a closing tag either.
                unclosed[n] = true;
                continue;
            }
            cells.append(HTMLTextConverter::plainText(row.mid(openEnd, close.start - openEnd)));
            next = close.end;
            break;
        }
        pos = row.indexOf(u'<', next);
    }
    return cells;
}

} // namespace

std::optional<CardBlock> CardBlockBuilder::containerGrid(QStringView openingTag, QStringView inner) {
    QStringList cells;
    for (QStringView child : childFragments(inner)) {
        const QString text = HTMLTextConverter::plainText(child);
        if (!text.isEmpty())
            cells.append(text);
    }
    if (cells.isEmpty())
        return std::nullopt;
    const int columns = GridContainerStyle::fromOpeningTag(openingTag).columns(cells.size());
    QList<QStringList> rows;
    for (qsizetype i = 0; i < cells.size(); i += columns)
        rows.append(cells.mid(i, columns));
    return CardBlock::grid(rows, columns);
}

std::optional<CardBlock> CardBlockBuilder::tableGrid(QStringView table) {
    QList<QStringList> rows;
    qsizetype columns = 0;
    for (QStringView row : lazyElements(table, QLatin1StringView("tr"))) {
        QStringList cells = rowCells(row);
        if (cells.isEmpty())
            continue;
        columns = std::max(columns, cells.size());
        rows.append(std::move(cells));
    }
    if (rows.isEmpty())
        return std::nullopt;
    return CardBlock::grid(rows, int(columns));
}

QList<CardBlock> CardBlockBuilder::blocks(QStringView content) {
    const HTMLScanner scanner(content);
    QList<CardBlock> blocks;
    QString pending;
    auto flush = [&] {
        const QString text = HTMLTextConverter::markdown(pending);
        if (!text.isEmpty())
            blocks.append(CardBlock::markdown(text));
        pending.clear();
    };
    qsizetype copied = 0;
    qsizetype pos = content.indexOf(u'<');
    while (pos >= 0) {
        qsizetype next = pos + 1;
        if (const qsizetype openEnd = scanner.openingTagEnd(pos, divName); openEnd > 0) {
            const QStringView tag = content.mid(pos, openEnd - pos);
            next = openEnd;
            if (GridContainerStyle::fromOpeningTag(tag).isContainer()) {
                const HTMLScanner::Range close = scanner.matchingClose(openEnd, divName);
                pending.append(content.mid(copied, pos - copied));
                flush();
                if (auto grid = containerGrid(tag, content.mid(openEnd, close.start - openEnd)))
                    blocks.append(*grid);
                next = copied = close.end;
            }
        } else if (content[pos] == u'<' && scanner.hasWordAt(pos + 1, tableName)) {
            const qsizetype openEnd = scanner.openingTagEnd(pos, tableName);
            const HTMLScanner::Range close =
                scanner.matchingClose(openEnd > 0 ? openEnd : pos + 1, tableName);
            const QStringView table = content.mid(pos, close.end - pos);
            pending.append(content.mid(copied, pos - copied));
            if (auto grid = tableGrid(table)) {
                flush();
                blocks.append(*grid);
            } else {
                pending.append(table);
            }
            next = copied = close.end;
        }
        pos = content.indexOf(u'<', next);
    }
    pending.append(content.mid(copied));
    flush();
    return blocks;
}
