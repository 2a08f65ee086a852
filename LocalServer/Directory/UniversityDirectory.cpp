#include "Directory/UniversityDirectory.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {

QString folded(const QString& text) {
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    }
    return out;
}

// Splits one CSV line; fields may be quoted with "" as an escaped quote.
QStringList csvFields(const QString& line) {
    QStringList fields;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                current += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                current += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    fields.append(current);
    return fields;
}

} // namespace

QJsonObject UniversityDirectory::University::toJson() const {
    return QJsonObject{{"id", id},       {"name", name}, {"short_name", shortName},
                       {"state", state}, {"city", city}, {"institution_type", institutionType}};
}

UniversityDirectory UniversityDirectory::fromCsv(const QString& csv) {
    UniversityDirectory directory;
    const QStringList lines = csv.split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = csvFields(lines[i].trimmed());
        if (fields.size() < 6 || fields[0].isEmpty() || fields[1].isEmpty())
            continue;
        directory.universities_.append({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
    }
    std::sort(directory.universities_.begin(), directory.universities_.end(),
              [](const University& a, const University& b) { return a.name < b.name; });
    return directory;
}

const UniversityDirectory& UniversityDirectory::bundled() {
    static const UniversityDirectory directory = [] {
        QFile file(":/localserver/universities.csv");
        file.open(QIODevice::ReadOnly);
        return fromCsv(QString::fromUtf8(file.readAll()));
    }();
    return directory;
}

std::optional<UniversityDirectory::University> UniversityDirectory::find(const QString& id) const {
    for (const University& university : universities_) {
        if (university.id == id)
            return university;
    }
    return std::nullopt;
}

QList<UniversityDirectory::University> UniversityDirectory::search(const QString& query, int limit) const {
    const QString needle = folded(query.simplified());
    QList<University> starts, wordStarts, contains;
    for (const University& university : universities_) {
        const QString name = folded(university.name);
        const QString shortName = folded(university.shortName);
        if (needle.isEmpty() || name.startsWith(needle) || shortName.startsWith(needle))
            starts.append(university);
        else if (name.contains(QRegularExpression("\\b" + QRegularExpression::escape(needle))))
            wordStarts.append(university);
        else if (name.contains(needle) || shortName.contains(needle) ||
                 folded(university.city).contains(needle) || folded(university.state) == needle)
            contains.append(university);
    }
    return (starts + wordStarts + contains).mid(0, limit);
}
