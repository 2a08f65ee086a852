#include "Courses/MeetingDays.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

using RE = QRegularExpression;

// Letters of the compact forms ("MWF", "TTh", "TR"); "Th", "R" and "H" are Thursday, "Su" and "U"
// Sunday, "Sa" and "S" Saturday.
QList<int> compactDays(const QString& token) {
    QList<int> days;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const QChar letter = token[i];
        const QChar next = i + 1 < token.size() ? token[i + 1] : QChar();
        if (letter == 'T' && next == 'h') {
            days.append(4);
            ++i;
        } else if (letter == 'S' && next == 'u') {
            days.append(7);
            ++i;
        } else if (letter == 'S' && next == 'a') {
            days.append(6);
            ++i;
        } else {
            static const QString letters = QStringLiteral("MTWRFSUH");
            static const int numbers[] = {1, 2, 3, 4, 5, 6, 7, 4};
            const qsizetype at = letters.indexOf(letter);
            if (at < 0)
                return {};
            days.append(numbers[at]);
        }
    }
    return days;
}

} // namespace

namespace MeetingDays {

QList<int> parse(const QString& meetingTimes) {
    QList<int> days;
    static const RE names(
        R"(\b(mon|tue|wed|thu|fri|sat|sun)(?:days?|s|sdays?|nesdays?|r|rs|rsdays?|urdays?)?\b)",
        RE::CaseInsensitiveOption);
    static const QStringList prefixes = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
    for (auto it = names.globalMatch(meetingTimes); it.hasNext();)
        days.append(int(prefixes.indexOf(it.next().captured(1).toLower())) + 1);
    if (days.isEmpty()) {
        // Compact day letters stand alone and start with a capital: "MWF", "TTh", "TR".
        static const RE compact(R"((?<![A-Za-z])((?:M|T|W|Th|R|F|Sa|Su|S|U|H){1,7})(?![A-Za-z]))");
        for (auto it = compact.globalMatch(meetingTimes); it.hasNext();) {
            const QString token = it.next().captured(1);
            // A lone "S" or "T" is too often something else ("T 10am" is fine, "S" alone is not).
            if (token == "S" || token == "U" || token == "H")
                continue;
            days.append(compactDays(token));
        }
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

} // namespace MeetingDays
