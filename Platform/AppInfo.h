#pragma once

#include <QString>
#include <QVariant>

// The app's build-time information dictionary, generated from CMake cache variables.
namespace AppInfo {

QString appId();
// The value for a key ("API_BASE_URL", "CLERK_PUBLISHABLE_KEY", "CFBundleShortVersionString",
// "CFBundleVersion", "OrbeloAppcastURL"); invalid when the key is missing.
QVariant value(const QString& key);

// Replaces the values of the keys in `values` for the rest of the process, leaving the others as
// built. Call it at start, before anything reads them.
void setValues(const QVariantMap& values);

// Replaces the dictionary for the rest of the process (tests); keys absent from `values` read as missing.
void overrideForTesting(const QVariantMap& values);

} // namespace AppInfo
