#pragma once

#include "Courses/StudyEvent.h"
#include "Storage/UserTimeZone.h"

#include <QList>
#include <QString>

struct ServerContext;

// Every study event of a user's courses, in the user's time zone.
class StudyScheduleStore {
public:
    struct Schedule {
        UserTimeZone timeZone;
        // Sorted by start, then by key.
        QList<StudyEvent> events;
    };

    explicit StudyScheduleStore(ServerContext& context) : context_(context) {}

    // Courses without a study plan add nothing; a plan stored before plans had dates gets them
    // as LibraryStore::datedPlan would give them now.
    Schedule load(const QString& userId);
    // A digest of everything load() makes the schedule from: the user's time zone and their
    // courses' ids, names, class details, creation times and plans. The same digest means the
    // same schedule, so it is found without building it.
    QByteArray fingerprint(const QString& userId);

private:
    ServerContext& context_;
};
