#pragma once

#include <QList>
#include <QString>

// The weekdays a class meets on, read from its meeting times as people write them: "Mon/Wed 10am",
// "Tuesdays and Thursdays 2-3:15pm", "MWF 9:00", "TTh 11am", "TR". Days are 1 (Monday) to 7
// (Sunday), in order, each once; empty when the text names none.
namespace MeetingDays {
QList<int> parse(const QString& meetingTimes);
}
