#include "Courses/SyllabusAnalyzer.h"

#include "Courses/TermStart.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

QRegularExpression lineRule(const QString& labels) {
    return QRegularExpression("^\\s*(?:" + labels + ")\\s*[:\\-–—]\\s*(.+?)\\s*$",
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::MultilineOption);
}

QString firstMatch(const QString& text, const QRegularExpression& rule) {
    return rule.match(text).captured(1).trimmed();
}

} // namespace

SyllabusAnalyzer SyllabusAnalyzer::analyze(const QString& text) {
    using RE = QRegularExpression;
    constexpr auto ci = RE::CaseInsensitiveOption | RE::MultilineOption;
    SyllabusAnalyzer result;

    static const RE weekRule(R"(^\s*week\s+(\d{1,2})\s*[:.\-–—)]?\s*(.*?)\s*$)", ci);
    for (auto it = weekRule.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        QString topic = match.captured(2).trimmed();
        // "Week 1 (Sep 8): Research methods": the date is the week's, not part of its topic.
        static const RE datedTopic(R"(^\(([^)]{1,30})\)\s*[:.\-–—]?\s*(.*)$)");
        if (const auto dated = datedTopic.match(topic);
            dated.hasMatch() && !dated.captured(2).isEmpty() &&
            TermStart::parse(dated.captured(1), QDate(2000, 1, 1)))
            topic = dated.captured(2);
        if (!topic.isEmpty())
            result.weeklyTopics.append(topic);
    }
    const bool saysSyllabus = text.contains(RE(R"(\bsyllabus\b)", ci));
    const QList<bool> found = {
        saysSyllabus,
        text.contains(RE(R"(^\s*(instructor|professor|lecturer|teacher)\b)", ci)),
        text.contains(RE(R"(\boffice hours\b)", ci)),
        text.contains(RE(R"(\bgrad(ing|e breakdown|es)\b)", ci)),
        !result.weeklyTopics.isEmpty(),
        text.contains(
            RE(R"(\bcourse (description|objectives|overview)|\blearning (objectives|outcomes)\b)", ci)),
        text.contains(RE(R"(\b(required )?(textbook|readings?)\b)", ci)),
        text.contains(RE(R"(\b(midterm|final exam|final project)\b)", ci)),
    };
    result.signalCount = int(found.count(true));
    result.isSyllabus = result.signalCount >= 3 && (saysSyllabus || !result.weeklyTopics.isEmpty());

    result.classTitle = firstMatch(text, lineRule("course title|course name|course|class|title"));
    if (result.classTitle.isEmpty()) {
        for (const QString& line : text.split('\n')) {
            QString candidate = line.simplified();
            if (!candidate.isEmpty()) {
                if (candidate.size() <= 100)
                    result.classTitle = candidate.remove(RE(R"(\s*[-–—:]?\s*syllabus\s*$)", ci));
                break;
            }
        }
    }
    result.courseCode = RE(R"(\b([A-Z]{2,4}\s?\d{3}[A-Z]?)\b)").match(text).captured(1);
    result.instructor = firstMatch(text, lineRule("instructor|professor|lecturer|teacher"));
    result.meetingTimes =
        firstMatch(text, lineRule("meeting times?|meets|class times?|lectures?|schedule|time"));
    result.termStart = TermStart::phrase(text);
    result.location = firstMatch(text, lineRule("location|room|classroom|place"));
    result.description = firstMatch(text, lineRule("course description|description"));
    if (result.description.isEmpty()) {
        const auto match = RE(R"(^\s*course description\s*\n+(.+?)\s*$)", ci).match(text);
        result.description = match.captured(1).trimmed();
    }
    return result;
}

QJsonObject SyllabusAnalyzer::classInfo() const {
    QJsonObject info;
    auto put = [&info](const char* key, const QString& value) {
        if (!value.isEmpty())
            info.insert(key, value);
    };
    put("class_title", classTitle);
    put("class_description", description);
    put("class_instructor", instructor);
    put("class_time", meetingTimes);
    put("class_location", location);
    put("class_date", termStart);
    put("course_code", courseCode);
    if (!weeklyTopics.isEmpty())
        info.insert("topics", QJsonArray::fromStringList(weeklyTopics));
    return info;
}
