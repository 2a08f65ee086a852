#pragma once

#include "StudyEvent.h"
#include "UserTimeZone.h"

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

private:
    ServerContext& context_;
};
