#include "Library/AcceptedFileTypes.h"

#include <QMimeDatabase>

namespace {

const QStringList& acceptedTypes() {
    static const QStringList types{
        QStringLiteral("application/pdf"),
        QStringLiteral("text/plain"),
        QStringLiteral("application/rtf"),
        QStringLiteral("application/msword"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.presentationml.presentation"),
    };
    return types;
}

QMimeType typeOf(const QString& fileName) {
    return QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
}

} // namespace

bool AcceptedFileTypes::accepts(const QString& fileName) {
    const QMimeType type = typeOf(fileName);
    for (const QString& accepted : acceptedTypes()) {
        if (type.inherits(accepted))
            return true;
    }
    return false;
}

QString AcceptedFileTypes::contentType(const QString& fileName) {
    return accepts(fileName) ? typeOf(fileName).name() : QStringLiteral("application/octet-stream");
}

QStringList AcceptedFileTypes::nameFilters() {
    const QMimeDatabase database;
    QStringList all;
    QStringList each;
    for (const QString& name : acceptedTypes()) {
        const QMimeType type = database.mimeTypeForName(name);
        if (!type.isValid())
            continue;
        // Only extension patterns: text/plain also names files like "*,v".
        for (const QString& pattern : type.globPatterns()) {
            if (pattern.startsWith(QLatin1String("*.")))
                all << pattern;
        }
        each << type.filterString();
    }
    all.removeDuplicates();
    return QStringList{QStringLiteral("Documents (%1)").arg(all.join(u' '))} + each;
}
