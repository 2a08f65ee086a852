#include "SettingsPreferences.h"

#include <QStandardPaths>

SettingsPreferences::SettingsPreferences(const QString& suiteName)
    : settings_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
                    suiteName + QLatin1String(".conf"),
                QSettings::IniFormat) {}

SettingsPreferences::SettingsPreferences(PathTag, const QString& filePath)
    : settings_(filePath, QSettings::IniFormat) {}

SettingsPreferences SettingsPreferences::atPath(const QString& filePath) {
    return SettingsPreferences(PathTag{}, filePath);
}
