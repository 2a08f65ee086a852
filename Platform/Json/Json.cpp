#include "Json.h"

#include <QJsonDocument>

namespace json {

QJsonValue parse(const QByteArray& bytes) {
    QJsonParseError error{};
    const QByteArray trimmed = bytes.trimmed();
    const bool container = trimmed.startsWith('{') || trimmed.startsWith('[');
    // QJsonDocument holds only objects and arrays; a bare value is parsed inside an array.
    const QJsonDocument doc = QJsonDocument::fromJson(container ? bytes : "[" + bytes + "]", &error);
    if (error.error != QJsonParseError::NoError || doc.isNull() || (!container && doc.array().size() != 1))
        throw DecodingError(DecodingError::Kind::dataCorrupted, QString(),
                            QStringLiteral("The given data was not valid JSON."));
    if (doc.isObject())
        return doc.object();
    return container ? QJsonValue(doc.array()) : doc.array().first();
}

QByteArray serialize(const QJsonValue& value) {
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

} // namespace json
