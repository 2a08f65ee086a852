#pragma once

#include <QDate>
#include <QString>
#include <optional>

// The first day of classes, as a syllabus or a typed class date names it.
namespace TermStart {
// The date phrase the text gives for the first day of classes, as written ("September 8, 2026",
// "Sep 8"): after a cue such as "Classes begin", "First day of class", "Semester starts" or
// "Start date", else on the "Week 1" line. Empty when there is none.
QString phrase(const QString& text);
// The date a phrase names: "September 8, 2026", "Sept. 8th", "8 September 2026", "2026-09-08",
// "9/8/2026", "9/8" (month first). A date without a year takes the year that puts it nearest to
// `reference`. Nothing when the phrase holds no valid date.
std::optional<QDate> parse(const QString& phrase, const QDate& reference);
} // namespace TermStart
