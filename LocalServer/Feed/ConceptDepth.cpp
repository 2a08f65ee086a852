#include "Feed/ConceptDepth.h"

#include "Terms/CommonWords.h"

#include <QRegularExpression>
#include <algorithm>

namespace ConceptDepth {

int tier(const Signals& measured) {
    const double position = std::clamp(measured.firstPosition, 0.0, 1.0);
    const double definition = std::min(measured.definitionWords / 30.0, 1.0);
    const double uncommon = std::clamp(measured.uncommonShare, 0.0, 1.0);
    const double seldom = 1.0 - std::clamp((measured.occurrences - 1) / 4.0, 0.0, 1.0);
    const double depth = 0.3 * position + 0.25 * definition + 0.25 * uncommon + 0.2 * seldom;
    return 1 + std::min(tiers - 1, int(depth * tiers));
}

Signals measure(const QString& term, const QString& definition, const QString& text) {
    Signals measured;
    const QRegularExpression naming("\\b" + QRegularExpression::escape(term) + "(?:s|es)?\\b",
                                    QRegularExpression::CaseInsensitiveOption);
    auto matches = naming.globalMatch(text);
    measured.occurrences = 0;
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (measured.occurrences++ == 0 && !text.isEmpty())
            measured.firstPosition = double(match.capturedStart()) / double(text.size());
    }
    measured.occurrences = std::max(measured.occurrences, 1);
    measured.definitionWords = int(definition.split(' ', Qt::SkipEmptyParts).size());
    const QStringList words = term.toLower().split(QRegularExpression("[^a-z]+"), Qt::SkipEmptyParts);
    if (!words.isEmpty()) {
        const CommonWords& common = CommonWords::instance();
        const auto uncommon = std::count_if(words.begin(), words.end(),
                                            [&](const QString& word) { return !common.isCommon(word); });
        measured.uncommonShare = double(uncommon) / double(words.size());
    }
    return measured;
}

} // namespace ConceptDepth
