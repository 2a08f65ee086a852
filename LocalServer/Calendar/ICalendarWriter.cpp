#include "Calendar/ICalendarWriter.h"

#include <libical/ical.h>
#include <memory>
#include <mutex>

namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icalproperty* extension(const char* name, const QString& value) {
    icalproperty* property = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(property, name);
    return property;
}

icaltimetype dateOf(const QDate& date) {
    icaltimetype time = icaltime_null_date();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    return time;
}

icaltimetype utcOf(const QDateTime& moment) {
    const QDateTime utc = moment.toUTC();
    icaltimetype time = icaltime_null_time();
    time.year = utc.date().year();
    time.month = utc.date().month();
    time.day = utc.date().day();
    time.hour = utc.time().hour();
    time.minute = utc.time().minute();
    time.second = utc.time().second();
    time.zone = icaltimezone_get_utc_timezone();
    return time;
}

// A wall-clock time written with a TZID parameter naming the calendar's VTIMEZONE.
icalproperty* localTime(icalproperty_kind kind, const QDateTime& moment, const QByteArray& zoneId) {
    icaltimetype time = icaltime_null_time();
    time.year = moment.date().year();
    time.month = moment.date().month();
    time.day = moment.date().day();
    time.hour = moment.time().hour();
    time.minute = moment.time().minute();
    time.second = moment.time().second();
    icalproperty* property = icalproperty_new(kind);
    icalproperty_set_value(property, icalvalue_new_datetime(time));
    icalproperty_add_parameter(property, icalparameter_new_tzid(zoneId.constData()));
    return property;
}

// The zone's definition from libical's time zone data (the system's zoneinfo), under the plain
// IANA name instead of libical's own prefixed TZID. Null for UTC or a zone libical lacks.
Component timeZoneComponent(const QByteArray& zoneId) {
    if (zoneId == "UTC")
        return nullptr;
    icaltimezone* zone = icaltimezone_get_builtin_timezone(zoneId.constData());
    icalcomponent* definition = zone ? icaltimezone_get_component(zone) : nullptr;
    if (definition == nullptr)
        return nullptr;
    Component copy(icalcomponent_new_clone(definition));
    icalproperty* tzid = icalcomponent_get_first_property(copy.get(), ICAL_TZID_PROPERTY);
    if (tzid != nullptr)
        icalproperty_set_tzid(tzid, zoneId.constData());
    return copy;
}

icalcomponent* eventComponent(const StudyEvent& event, const QByteArray& zoneId, bool localTimes) {
    icalcomponent* vevent = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const QString uid = event.key + "@orbelo.local";
    icalcomponent_add_property(vevent, icalproperty_new_uid(uid.toUtf8().constData()));
    const QDateTime stamp = event.stamp.isValid() ? event.stamp : event.start;
    icalcomponent_add_property(vevent, icalproperty_new_dtstamp(utcOf(stamp)));
    if (event.allDay) {
        icalcomponent_add_property(vevent, icalproperty_new_dtstart(dateOf(event.start.date())));
        icalcomponent_add_property(vevent, icalproperty_new_dtend(dateOf(event.end.date())));
    } else if (localTimes) {
        icalcomponent_add_property(vevent, localTime(ICAL_DTSTART_PROPERTY, event.start, zoneId));
        icalcomponent_add_property(vevent, localTime(ICAL_DTEND_PROPERTY, event.end, zoneId));
    } else {
        icalcomponent_add_property(vevent, icalproperty_new_dtstart(utcOf(event.start)));
        icalcomponent_add_property(vevent, icalproperty_new_dtend(utcOf(event.end)));
    }
    // iTIP's PUBLISH (RFC 5546) wants an organizer on every event.
    icalproperty* organizer = icalproperty_new_organizer("mailto:study-plan@orbelo.local");
    icalproperty_add_parameter(organizer, icalparameter_new_cn("Orbelo"));
    icalcomponent_add_property(vevent, organizer);
    icalcomponent_add_property(vevent, icalproperty_new_summary(event.title.toUtf8().constData()));
    // A calendar app shows no course of its own, so the feed names it first; the app's preview
    // lists the course apart.
    const QString description =
        event.courseName.isEmpty() ? event.description : event.courseName + "\n\n" + event.description;
    icalcomponent_add_property(vevent, icalproperty_new_description(description.toUtf8().constData()));
    const char* category = event.kind == "plan_week" ? "Study plan" : "Study block";
    icalcomponent_add_property(vevent, icalproperty_new_categories(category));
    if (!event.courseName.isEmpty())
        icalcomponent_add_property(vevent,
                                   icalproperty_new_categories(event.courseName.toUtf8().constData()));
    // A plan week spans the whole week and should not show the student as busy; blocks are
    // opaque, the default.
    if (event.allDay)
        icalcomponent_add_property(vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return vevent;
}

} // namespace

namespace ICalendarWriter {

QByteArray write(const QList<StudyEvent>& events, const QString& zoneId) {
    // libical's time zone cache and its error state are shared by the whole process.
    static std::mutex libical;
    const std::lock_guard lock(libical);
    const QByteArray zone = zoneId.toUtf8();
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Orbelo//Study plan//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalcomponent_add_property(calendar.get(), icalproperty_new_name(calendarName));
    icalcomponent_add_property(calendar.get(), extension("X-WR-CALNAME", calendarName));
    icalcomponent_add_property(calendar.get(), extension("X-WR-TIMEZONE", zoneId));
    struct icaldurationtype refresh = icaldurationtype_null_duration();
    refresh.hours = refreshHours;
    icalproperty* interval = icalproperty_new_refreshinterval(refresh);
    icalproperty_add_parameter(interval, icalparameter_new_value(ICAL_VALUE_DURATION));
    icalcomponent_add_property(calendar.get(), interval);
    icalcomponent_add_property(calendar.get(),
                               extension("X-PUBLISHED-TTL", QStringLiteral("PT%1H").arg(refreshHours)));
    Component timeZone = timeZoneComponent(zone);
    const bool localTimes = timeZone != nullptr;
    if (timeZone)
        icalcomponent_add_component(calendar.get(), timeZone.release());
    for (const StudyEvent& event : events)
        icalcomponent_add_component(calendar.get(), eventComponent(event, zone, localTimes));
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray document(text);
    icalmemory_free_buffer(text);
    return document;
}

} // namespace ICalendarWriter
