#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// One event of the study schedule: a plan week (all day, Monday to Sunday) or a timed study block.
struct StudyEvent {
    // Stable for the same course, week and block, whatever the dates: the feed's UIDs come from it.
    QString key;
    QString courseId;
    QString courseName;
    QString kind; // "plan_week" or "study_block"
    QString title;
    QString description;
    // In the user's time zone; an all-day event runs from midnight of its first day to midnight
    // after its last.
    QDateTime start;
    QDateTime end;
    bool allDay = false;
    // When the plan that made it was generated (the feed's DTSTAMP).
    QDateTime stamp;
};
