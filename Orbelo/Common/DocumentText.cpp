#include "Common/DocumentText.h"

QString DocumentText::displayName(const DocumentItem& document) {
    if (document.title && !document.title->isEmpty())
        return *document.title;
    return document.filename.value_or(QString());
}

bool DocumentText::matches(const DocumentItem& document, const QString& searchText) {
    if (searchText.isEmpty())
        return true;
    return displayName(document).contains(searchText, Qt::CaseInsensitive) ||
           document.filename.value_or(QString()).contains(searchText, Qt::CaseInsensitive);
}

QString DocumentText::typeSymbol(const DocumentItem& document) {
    const QString type = document.documentType.value_or(QString()).toLower();
    if (type == QLatin1String("syllabus"))
        return QStringLiteral("list.bullet.clipboard");
    if (type == QLatin1String("lecture"))
        return QStringLiteral("mic");
    if (type == QLatin1String("reading"))
        return QStringLiteral("book.pages");
    if (type == QLatin1String("book"))
        return QStringLiteral("book.closed");
    return QStringLiteral("doc.text");
}
