#include "PreferencesStore.h"

#include "AppInfo.h"
#include "SettingsPreferences.h"

namespace {
PreferencesStore* standardOverride = nullptr;
}

bool PreferencesStore::boolValue(const QString& key, bool fallback) const {
    const QVariant v = value(key);
    if (!v.isValid())
        return fallback;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    // QSettings hands back strings ("true"/"false") after a round trip through its file.
    const QString text = v.toString();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

std::optional<qint64> PreferencesStore::integer(const QString& key) const {
    bool ok = false;
    const qint64 n = value(key).toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

std::optional<double> PreferencesStore::number(const QString& key) const {
    bool ok = false;
    const double n = value(key).toDouble(&ok);
    return ok ? std::optional<double>(n) : std::nullopt;
}

std::optional<QString> PreferencesStore::string(const QString& key) const {
    const QVariant v = value(key);
    if (!v.isValid() || !v.canConvert<QString>())
        return std::nullopt;
    return v.toString();
}

std::optional<QByteArray> PreferencesStore::data(const QString& key) const {
    const QVariant v = value(key);
    if (!v.isValid())
        return std::nullopt;
    return v.toByteArray();
}

QStringList PreferencesStore::stringList(const QString& key) const {
    return value(key).toStringList();
}

PreferencesStore& PreferencesStore::standard() {
    if (standardOverride)
        return *standardOverride;
    static SettingsPreferences store(AppInfo::appId());
    return store;
}

void PreferencesStore::setStandardOverride(PreferencesStore* store) {
    standardOverride = store;
}
