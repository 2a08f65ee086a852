#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// The standard preferences store: typed access to small persisted values. Data values are bytes.
class PreferencesStore {
public:
    virtual ~PreferencesStore() = default;

    virtual QVariant value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
    virtual bool contains(const QString& key) const = 0;

    bool boolValue(const QString& key, bool fallback = false) const;
    std::optional<qint64> integer(const QString& key) const;
    std::optional<double> number(const QString& key) const;
    std::optional<QString> string(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;
    QStringList stringList(const QString& key) const;

    // The application's own store (QSettings in the XDG config dir).
    static PreferencesStore& standard();
    // Installs a replacement for standard() (tests); nullptr restores the real one.
    static void setStandardOverride(PreferencesStore* store);
};
