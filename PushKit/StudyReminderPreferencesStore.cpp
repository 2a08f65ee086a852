#include "StudyReminderPreferencesStore.h"

#include "PreferencesStore.h"

StudyReminderPreferences StudyReminderPreferencesStore::load() const {
    const std::optional<QByteArray> data = preferences_.data(key);
    if (!data)
        return StudyReminderPreferences::defaults();
    return StudyReminderPreferences::fromJson(*data).value_or(StudyReminderPreferences::defaults());
}

void StudyReminderPreferencesStore::save(const StudyReminderPreferences& preferences) {
    preferences_.setValue(key, preferences.toJson());
}
