#include "Text/SentenceText.h"

namespace SentenceText {

QString completed(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return trimmed;
    for (const char16_t* end : {u".", u"!", u"?", u"…"}) {
        if (trimmed.endsWith(QStringView(end)))
            return trimmed;
    }
    return trimmed + u'.';
}

} // namespace SentenceText
