#include "HTMLEntities.h"

#include <array>

namespace {

struct Entity {
    QStringView name;
    QChar text;
};

const std::array<Entity, 15> entities{{
    {u"&nbsp;", u' '},
    {u"&lt;", u'<'},
    {u"&gt;", u'>'},
    {u"&quot;", u'"'},
    {u"&#39;", u'\''},
    {u"&apos;", u'\''},
    {u"&rsquo;", QChar(0x2019)},
    {u"&lsquo;", QChar(0x2018)},
    {u"&ldquo;", QChar(0x201C)},
    {u"&rdquo;", QChar(0x201D)},
    {u"&mdash;", QChar(0x2014)},
    {u"&ndash;", QChar(0x2013)},
    {u"&hellip;", QChar(0x2026)},
    {u"&bull;", QChar(0x2022)},
    {u"&deg;", QChar(0x00B0)},
}};

} // namespace

QString HTMLEntities::decode(QStringView text) {
    // One pass is equivalent to replacing every other entity first and "&amp;" last: no replacement
    // produces an '&', so none can form a new entity.
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype amp = text.indexOf(u'&', i);
        if (amp < 0) {
            out.append(text.mid(i));
            break;
        }
        out.append(text.mid(i, amp - i));
        const QStringView rest = text.mid(amp);
        i = amp + 1;
        bool decoded = false;
        for (const Entity& entity : entities) {
            if (rest.startsWith(entity.name)) {
                out.append(entity.text);
                i = amp + entity.name.size();
                decoded = true;
                break;
            }
        }
        if (!decoded && rest.startsWith(u"&amp;")) {
            out.append(u'&');
            i = amp + 5;
        } else if (!decoded) {
            out.append(u'&');
        }
    }
    return out;
}
