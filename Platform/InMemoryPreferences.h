#pragma once

#include "PreferencesStore.h"

#include <QHash>

// Preferences that live only as long as the object (tests).
class InMemoryPreferences final : public PreferencesStore {
public:
    QVariant value(const QString& key) const override { return values_.value(key); }
    void setValue(const QString& key, const QVariant& value) override { values_.insert(key, value); }
    void remove(const QString& key) override { values_.remove(key); }
    bool contains(const QString& key) const override { return values_.contains(key); }

private:
    QHash<QString, QVariant> values_;
};
