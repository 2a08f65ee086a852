#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// The directory of institutions shipped with the server (data/universities.csv: names, short
// names, cities, states and control as listed in the U.S. Department of Education's IPEDS
// College Navigator).
class UniversityDirectory {
public:
    struct University {
        QString id;
        QString name;
        QString shortName;
        QString city;
        QString state;
        QString institutionType;
        QJsonObject toJson() const;
    };

    // Reads the CSV text (header line first); rows with a missing id or name are skipped.
    static UniversityDirectory fromCsv(const QString& csv);
    // The bundled directory.
    static const UniversityDirectory& bundled();

    qsizetype size() const { return universities_.size(); }
    std::optional<University> find(const QString& id) const;
    // Matches on name, short name, city and state, case- and accent-insensitively: names that
    // start with the query first, then names with a word that starts with it, then any match;
    // alphabetical within each group. An empty query lists alphabetically.
    QList<University> search(const QString& query, int limit) const;

private:
    QList<University> universities_;
};
