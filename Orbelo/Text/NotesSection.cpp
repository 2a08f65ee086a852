#include "Text/NotesSection.h"

#include <QStringList>

QString NotesSection::plainText(QStringView markdown) {
    const QString text = markdown.toString().replace(u"\r\n"_qs, u"\n"_qs);
    QStringList lines;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        while (line.startsWith(u'#'))
            line = line.mid(1);
        line = line.trimmed();
        for (QStringView marker : {QStringView(u"- "), QStringView(u"* "), QStringView(u"\u2022 ")}) {
            if (line.startsWith(marker)) {
                line = line.mid(marker.size());
                break;
            }
        }
        lines.append(line.toString().remove(u"**"_qs));
    }
    return lines.join(u'\n');
}
