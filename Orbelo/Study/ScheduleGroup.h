#pragma once

#include "Study/ScheduleEntry.h"

#include <QDate>
#include <QList>

// The events of one day under the day's heading ("Mon 7 Sep").
struct ScheduleGroup {
    QDate day;
    QString label;
    QList<ScheduleEntry> entries;
};
