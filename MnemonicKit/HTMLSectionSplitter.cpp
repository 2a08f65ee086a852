#include "HTMLSectionSplitter.h"

#include "HTMLScanner.h"

QList<HTMLSectionSplitter::Section> HTMLSectionSplitter::split(QStringView html) {
    const QLatin1StringView div("div");
    const HTMLScanner scanner(html);
    QList<Section> sections;
    qsizetype pos = html.indexOf(u'<');
    while (pos >= 0) {
        const qsizetype openEnd = scanner.openingTagEnd(pos, div);
        if (openEnd < 0) {
            pos = html.indexOf(u'<', pos + 1);
            continue;
        }
        const HTMLScanner::Range close = scanner.matchingClose(openEnd, div);
        sections.append({html.mid(pos, openEnd - pos), html.mid(openEnd, close.start - openEnd)});
        pos = html.indexOf(u'<', close.end);
    }
    return sections;
}
