#include "Storage/SettingsStore.h"

#include "Storage/Database.h"

std::optional<QString> SettingsStore::value(const QString& key) {
    const auto row = db_.row("SELECT value FROM settings WHERE key = ?", {key});
    if (!row)
        return std::nullopt;
    return row->value("value").toString();
}

bool SettingsStore::remove(const QString& key) {
    return db_.exec("DELETE FROM settings WHERE key = ?", {key});
}

bool SettingsStore::runOnce(const QString& flag, const std::function<bool()>& work) {
    if (!value(flag))
        return true;
    return db_.inTransaction([&] { return work() && remove(flag); });
}
