#pragma once

#include "StudyReminderPreferences.h"

class PreferencesStore;

// The study-reminder preferences in the user's preferences, as JSON data.
class StudyReminderPreferencesStore {
public:
    static inline const QString key = QStringLiteral("com.orbelo.studyReminderPreferences");

    explicit StudyReminderPreferencesStore(PreferencesStore& preferences) : preferences_(preferences) {}

    // The defaults when nothing is stored or what is stored does not decode.
    StudyReminderPreferences load() const;
    void save(const StudyReminderPreferences& preferences);

private:
    PreferencesStore& preferences_;
};
