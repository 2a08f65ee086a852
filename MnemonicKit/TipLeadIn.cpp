#include "TipLeadIn.h"

#include <QRegularExpression>
#include <array>

namespace {

const QRegularExpression& leadInPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^(\U0001F4A1\\s*)?(tip|remember|exam hint|exam tip|recall)[:\\-\\s]+"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

} // namespace

bool TipLeadIn::opens(QStringView lowerCasedText) {
    static constexpr std::array<QStringView, 6> leadIns{u"\U0001F4A1", u"tip",      u"remember",
                                                        u"exam hint",  u"exam tip", u"recall"};
    for (QStringView leadIn : leadIns)
        if (lowerCasedText.startsWith(leadIn))
            return true;
    return false;
}

QString TipLeadIn::remove(const QString& markdown) {
    qsizetype markers = 0;
    while (markers < 3 && markers < markdown.size() && markdown[markers] == u'*')
        ++markers;
    const QString rest = markdown.mid(markers);
    if (markers > 0) {
        const qsizetype close = rest.indexOf(QString(markers, u'*'));
        if (close > 0) {
            const QString unwrapped = rest.left(close) + rest.mid(close + markers);
            const QRegularExpressionMatch match = leadInPattern().match(unwrapped);
            if (match.hasMatch() && match.capturedLength() >= close)
                return unwrapped.mid(match.capturedLength()).trimmed();
        }
    }
    const QRegularExpressionMatch match = leadInPattern().match(rest);
    if (!match.hasMatch())
        return markdown;
    return (markdown.left(markers) + rest.mid(match.capturedLength())).trimmed();
}
