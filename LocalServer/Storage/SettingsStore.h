#pragma once

#include <QString>
#include <functional>
#include <optional>

class Database;

// The server's own settings, by key, beside the user data.
class SettingsStore {
public:
    explicit SettingsStore(Database& db) : db_(db) {}

    std::optional<QString> value(const QString& key);
    bool remove(const QString& key);
    // When `flag` is set, runs `work` and clears the flag in one transaction, all or nothing.
    // False when `work` or the transaction failed; true when there was nothing to do.
    bool runOnce(const QString& flag, const std::function<bool()>& work);

private:
    Database& db_;
};
