#pragma once

#include "PreferencesStore.h"

#include <QSettings>

// Preferences kept by QSettings in an INI file under the XDG config dir; `suiteName` names the
// file, so a named suite ("com.orbelo.studyReminderPreferences") is a file of its own.
class SettingsPreferences final : public PreferencesStore {
public:
    explicit SettingsPreferences(const QString& suiteName);
    // A store in an explicit file (tests).
    static SettingsPreferences atPath(const QString& filePath);

    QVariant value(const QString& key) const override { return settings_.value(key); }
    void setValue(const QString& key, const QVariant& value) override { settings_.setValue(key, value); }
    void remove(const QString& key) override { settings_.remove(key); }
    bool contains(const QString& key) const override { return settings_.contains(key); }
    void sync() { settings_.sync(); }

private:
    struct PathTag {};
    SettingsPreferences(PathTag, const QString& filePath);
    QSettings settings_;
};
