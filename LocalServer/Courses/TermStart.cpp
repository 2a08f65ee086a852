#include "Courses/TermStart.h"

#include <QRegularExpression>
#include <array>

namespace {

using RE = QRegularExpression;
constexpr auto ci = RE::CaseInsensitiveOption;

const QString monthName = QStringLiteral(
    R"((jan(?:uary)?|feb(?:ruary)?|mar(?:ch)?|apr(?:il)?|may|june?|july?|aug(?:ust)?|sep(?:t(?:ember)?)?|oct(?:ober)?|nov(?:ember)?|dec(?:ember)?)\.?)");
const QString dayNumber = QStringLiteral(R"((\d{1,2})(?:st|nd|rd|th)?)");

const RE& monthFirst() {
    static const RE rule("\\b" + monthName + "\\s+" + dayNumber + "\\b(?:,?\\s+(\\d{4}))?", ci);
    return rule;
}
const RE& dayFirst() {
    static const RE rule("\\b" + dayNumber + "\\s+(?:of\\s+)?" + monthName + "(?:,?\\s+(\\d{4}))?", ci);
    return rule;
}
const RE& isoDate() {
    static const RE rule(R"(\b(\d{4})-(\d{2})-(\d{2})\b)");
    return rule;
}
const RE& numericDate() {
    static const RE rule(R"((?<![\d/])(\d{1,2})/(\d{1,2})(?:/(\d{4}|\d{2}))?(?![\d/]))");
    return rule;
}
// Any of the forms above, to find a phrase's end.
const RE& anyDate() {
    static const RE rule("(?:\\b" + monthName + "\\s+" + dayNumber + "\\b(?:,?\\s+\\d{4})?|\\b" + dayNumber +
                             "\\s+(?:of\\s+)?" + monthName + "(?:,?\\s+\\d{4})?|\\b\\d{4}-\\d{2}-\\d{2}\\b|" +
                             R"((?<![\d/])\d{1,2}/\d{1,2}(?:/\d{4}|/\d{2})?(?![\d/])))",
                         ci);
    return rule;
}

int monthNumber(const QString& name) {
    static const std::array<QString, 12> prefixes = {"jan", "feb", "mar", "apr", "may", "jun",
                                                     "jul", "aug", "sep", "oct", "nov", "dec"};
    const QString lower = name.left(3).toLower();
    for (int i = 0; i < 12; ++i) {
        if (prefixes[std::size_t(i)] == lower)
            return i + 1;
    }
    return 0;
}

std::optional<QDate> dated(int year, int month, int day, const QDate& reference) {
    if (year > 0) {
        const QDate date(year, month, day);
        return date.isValid() ? std::optional(date) : std::nullopt;
    }
    std::optional<QDate> nearest;
    for (int candidateYear = reference.year() - 1; candidateYear <= reference.year() + 1; ++candidateYear) {
        const QDate date(candidateYear, month, day);
        if (date.isValid() && (!nearest || qAbs(date.daysTo(reference)) < qAbs(nearest->daysTo(reference))))
            nearest = date;
    }
    return nearest;
}

} // namespace

namespace TermStart {

QString phrase(const QString& text) {
    static const std::array<RE, 2> cues = {
        RE(R"(\b(?:(?:classes|class|lectures|instruction|term|semester|quarter|course)\s+(?:begins?|starts?|commences?)|first\s+(?:day|class|meeting|lecture)(?:\s+of\s+(?:class(?:es)?|the\s+(?:term|semester|course)))?|start\s+date)\b([^\n]*))",
           ci),
        RE(R"(^\s*week\s+(?:1|one)\b([^\n]*))", ci | RE::MultilineOption),
    };
    for (const RE& cue : cues) {
        for (auto it = cue.globalMatch(text); it.hasNext();) {
            // The date must follow the cue closely, not somewhere later on a long line.
            const QString rest = it.next().captured(1).left(60);
            const QRegularExpressionMatch date = anyDate().match(rest);
            if (date.hasMatch())
                return date.captured(0);
        }
    }
    return {};
}

std::optional<QDate> parse(const QString& phrase, const QDate& reference) {
    if (const auto m = isoDate().match(phrase); m.hasMatch())
        return dated(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), reference);
    if (const auto m = monthFirst().match(phrase); m.hasMatch())
        return dated(m.captured(3).toInt(), monthNumber(m.captured(1)), m.captured(2).toInt(), reference);
    if (const auto m = dayFirst().match(phrase); m.hasMatch())
        return dated(m.captured(3).toInt(), monthNumber(m.captured(2)), m.captured(1).toInt(), reference);
    if (const auto m = numericDate().match(phrase); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (!m.captured(3).isEmpty() && m.captured(3).size() == 2)
            year += 2000;
        return dated(year, m.captured(1).toInt(), m.captured(2).toInt(), reference);
    }
    return std::nullopt;
}

} // namespace TermStart
