#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// One of the agent's state files: a JSON object with a "version", written whole and atomically.
// A file that cannot be read back, or is of another version, is moved aside (kept for a look) and
// logged as critical with what happens instead.
class VersionedJsonFile {
public:
    // `what` names the file in the log ("push settings file"); `fallback` says what the agent does
    // without it ("push stays off").
    VersionedJsonFile(QString path, QString what, QString fallback);

    // The document without its version; empty when there is no file or it was set aside.
    std::optional<QJsonObject> load() const;
    // False (and logged) when the file could not be written; the old one is then untouched.
    bool save(QJsonObject root) const;
    // For a document whose contents turned out unusable.
    void setAside(const QString& why) const;

    const QString& path() const { return path_; }

private:
    static constexpr int formatVersion = 1;

    QString path_;
    QString what_;
    QString fallback_;
};
