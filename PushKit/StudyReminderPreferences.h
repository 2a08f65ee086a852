#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <optional>

// When the user wants to be reminded to study: a switch and the times of day, kept as JSON.
struct StudyReminderPreferences {
    // A time of day on the local wall clock, clamped to 00:00…23:59 when made.
    class Time {
    public:
        Time(int hour, int minute);

        int hour() const { return hour_; }
        int minute() const { return minute_; }
        // "09-00": what tells one reminder from another in its notification id.
        QString identity() const;
        // "09:00", for labels and logs.
        QString text() const;

        bool operator==(const Time&) const = default;

    private:
        int hour_;
        int minute_;
    };

    bool isEnabled = false;
    QList<Time> reminderTimes;

    // Off, with one time at 09:00.
    static StudyReminderPreferences defaults();

    QByteArray toJson() const;
    // nullopt when `data` is not preferences as toJson() writes them.
    static std::optional<StudyReminderPreferences> fromJson(const QByteArray& data);

    bool operator==(const StudyReminderPreferences&) const = default;
};

size_t qHash(const StudyReminderPreferences::Time& time, size_t seed = 0) noexcept;

template <> struct std::hash<StudyReminderPreferences::Time> {
    size_t operator()(const StudyReminderPreferences::Time& time) const noexcept { return qHash(time); }
};
