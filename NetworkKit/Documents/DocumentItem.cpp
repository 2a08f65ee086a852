#include "DocumentItem.h"

#include "ObjectReader.h"

DocumentItem::ProcessingState DocumentItem::processingState() const {
    const QString text = status.value_or(QString()).toLower();
    if (text == QLatin1String("processing") || text == QLatin1String("queued") ||
        text == QLatin1String("pending") || text == QLatin1String("in_progress"))
        return ProcessingState::processing;
    if (text == QLatin1String("failed") || text == QLatin1String("error"))
        return ProcessingState::failed;
    return ProcessingState::ready;
}

DocumentItem DocumentItem::decodeJson(const QJsonValue& value, const json::Path& path) {
    const json::ObjectReader reader(value, path);
    DocumentItem item;
    const auto id = reader.lenient<QString>("documentId");
    if (id)
        item.id = *id;
    else if (const auto plainId = reader.lenient<QString>("id"))
        item.id = *plainId;
    else
        reader.fail(QStringLiteral("Document missing both id and document_id"));
    item.filename = reader.lenient<QString>("filename");
    item.title = reader.lenient<QString>("title");
    item.documentType = reader.lenient<QString>("documentType");
    item.fileType = reader.lenient<QString>("fileType");
    item.courseId = reader.lenient<QString>("courseId");
    item.chunkCount = reader.lenient<int>("chunkCount");
    item.uploadedAt = reader.lenient<QString>("uploadedAt");
    if (!item.uploadedAt)
        item.uploadedAt = reader.lenient<QString>("timestamp");
    item.status = reader.lenient<QString>("status");
    return item;
}
