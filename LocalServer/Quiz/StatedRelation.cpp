#include "Quiz/StatedRelation.h"

#include <QRegularExpression>

namespace {

constexpr int maxWordsBeforeObject = 4;

// From the end of the subject to the end of the verb's own words. Only a comma-delimited
// appositive and an adverb that keeps the statement true may come between subject and verb.
const QRegularExpression& verbPattern() {
    static const QRegularExpression pattern(
        R"((?:\s*,[^,;:.()]{1,80},)?)"
        R"((?:\s+(?:also|mainly|mostly|largely|primarily|chiefly|usually|normally|only|then|first|finally|always))?)"
        R"(\s+(?<link>)"
        R"((?<location>(?:occurs?|takes?\s+place)\s+(?:(?:mainly|mostly|largely|only)\s+)?(?:in|inside|within))|)"
        R"((?<product>produces?|yields?|generates?|releases?|makes?(?!\s+up))|)"
        R"((?<part>(?:is|are)\s+(?:(?:an?|the|one)\s+)?)"
        R"((?:(?:main|first|second|third|fourth|last|final|key|major|central)\s+)?)"
        R"((?<whole>part|component|stage|step|phase)s?\s+of|makes?\s+up)|)"
        R"((?<material>(?:is|are)\s+(?:(?:mostly|mainly|largely)\s+)?(?:made|composed|built)\s+(?:up\s+)?of)"
        R"(|consists?\s+(?:(?:mostly|mainly|largely)\s+)?of)|)"
        R"((?<content>contains?)|)"
        R"((?<conversion>converts?\s+(?<input>[^,;:.]{1,60}?)\s+(?:in)?to)))"
        R"((?![\w\-]))",
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The words between the verb and the object: "the", "two molecules of"; no punctuation.
bool closeEnough(const QString& gap) {
    static const QRegularExpression wordsOnly(R"(^[\s\w'\-]*$)");
    return wordsOnly.match(gap).hasMatch() &&
           gap.split(' ', Qt::SkipEmptyParts).size() <= maxWordsBeforeObject;
}

// "converts it into …" says nothing without the sentence before.
const QRegularExpression& pronoun() {
    static const QRegularExpression pattern(R"(^(?:it|them|this|these|that|those)$)",
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

} // namespace

QString StatedRelation::question(const QString& subject) const {
    const QString does = plural ? QStringLiteral("do ") : QStringLiteral("does ");
    const QString is = plural ? QStringLiteral("are ") : QStringLiteral("is ");
    switch (kind) {
    case Kind::location:
        return QStringLiteral("Where ") + does + subject + QStringLiteral(" take place?");
    case Kind::product:
        return QStringLiteral("What ") + does + subject + QStringLiteral(" produce?");
    case Kind::part:
        if (whole == QLatin1String("part") || whole == QLatin1String("component"))
            return QStringLiteral("What ") + is + subject + QStringLiteral(" part of?");
        return QStringLiteral("What ") + is + subject + QStringLiteral(" a ") + whole +
               QStringLiteral(" of?");
    case Kind::material:
        return QStringLiteral("What ") + is + subject + QStringLiteral(" made of?");
    case Kind::content:
        return QStringLiteral("What ") + does + subject + QStringLiteral(" contain?");
    case Kind::conversion:
        return QStringLiteral("What ") + does + subject + QStringLiteral(" convert ") + input +
               QStringLiteral(" into?");
    }
    return {};
}

QString StatedRelation::reverseQuestion(const QString& object) const {
    return QStringLiteral("Which of these ") + link + ' ' + object + '?';
}

QList<StatedRelation> StatedRelation::in(const QString& text, int sentence,
                                         const QList<TermMention>& mentions) {
    QList<StatedRelation> found;
    for (qsizetype i = 0; i < mentions.size(); ++i) {
        const TermMention& subject = mentions[i];
        const QRegularExpressionMatch verb =
            verbPattern().match(text, subject.end, QRegularExpression::NormalMatch,
                                QRegularExpression::AnchorAtOffsetMatchOption);
        if (!verb.hasMatch() || pronoun().match(verb.captured("input")).hasMatch())
            continue;
        for (qsizetype j = i + 1; j < mentions.size(); ++j) {
            const TermMention& object = mentions[j];
            if (object.start < verb.capturedEnd())
                continue;
            if (!closeEnough(text.mid(verb.capturedEnd(), object.start - verb.capturedEnd())))
                break;
            if (object.term == subject.term)
                break;
            StatedRelation relation;
            relation.kind = verb.capturedLength("location") > 0   ? Kind::location
                            : verb.capturedLength("product") > 0  ? Kind::product
                            : verb.capturedLength("part") > 0     ? Kind::part
                            : verb.capturedLength("material") > 0 ? Kind::material
                            : verb.capturedLength("content") > 0  ? Kind::content
                                                                  : Kind::conversion;
            relation.sentence = sentence;
            relation.subject = subject;
            relation.object = object;
            relation.link =
                text.mid(verb.capturedStart("link"), object.start - verb.capturedStart("link")).simplified();
            relation.input = verb.captured("input").simplified();
            relation.whole =
                verb.captured("whole").isEmpty() ? QStringLiteral("part") : verb.captured("whole").toLower();
            relation.plural = !verb.captured("link").simplified().section(' ', 0, 0).toLower().endsWith('s');
            found.append(relation);
            break;
        }
    }
    return found;
}
