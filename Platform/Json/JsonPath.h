#pragma once

#include <QString>

namespace json {

// Where a value sits in the document being decoded; turned into text only for error messages.
struct Path {
    const Path* parent = nullptr;
    const char* field = nullptr;  // a record field
    const QString* key = nullptr; // a dictionary key
    qsizetype index = -1;         // an array element

    Path child(const char* f) const { return Path{this, f, nullptr, -1}; }
    Path child(const QString& k) const { return Path{this, nullptr, &k, -1}; }
    Path child(qsizetype i) const { return Path{this, nullptr, nullptr, i}; }

    QString toString() const {
        QString here = field        ? QString::fromLatin1(field)
                       : key        ? *key
                       : index >= 0 ? QStringLiteral("Index %1").arg(index)
                                    : QString();
        const QString above = parent ? parent->toString() : QString();
        if (above.isEmpty())
            return here;
        return here.isEmpty() ? above : above + QLatin1Char('.') + here;
    }
};

} // namespace json
