#include "ObjectReader.h"

#include "SnakeCase.h"

#include <QHash>

namespace json {

namespace {
// Wire keys repeat across the objects of a document; remember their conversions.
const QString& camelKey(const QString& wireKey) {
    thread_local QHash<QString, QString> cache;
    auto it = cache.constFind(wireKey);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() > 8192)
        cache.clear();
    return *cache.insert(wireKey, convertFromSnakeCase(wireKey));
}
} // namespace

QString describeType(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("bool");
    case QJsonValue::Double:
        return QStringLiteral("number");
    case QJsonValue::String:
        return QStringLiteral("string");
    case QJsonValue::Array:
        return QStringLiteral("array");
    case QJsonValue::Object:
        return QStringLiteral("dictionary");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

void throwTypeMismatch(const Path& path, const char* expected, const QJsonValue& found) {
    throw DecodingError(DecodingError::Kind::typeMismatch, path.toString(),
                        QStringLiteral("Expected to decode %1 but found %2 instead.")
                            .arg(QLatin1String(expected), describeType(found)));
}

ObjectReader::ObjectReader(const QJsonValue& value, const Path& path) : path_(path) {
    if (!value.isObject())
        throwTypeMismatch(path, "Dictionary<String, Any>", value);
    const QJsonObject object = value.toObject();
    entries_.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = it.key();
        entries_.emplace_back(key.contains(QLatin1Char('_')) ? camelKey(key) : key, it.value());
    }
}

QJsonValue ObjectReader::value(const char* field) const {
    const QLatin1StringView name(field);
    for (const auto& [key, v] : entries_)
        if (key == name)
            return v;
    return QJsonValue(QJsonValue::Undefined);
}

void ObjectReader::fail(const QString& debugDescription) const {
    throw DecodingError(DecodingError::Kind::dataCorrupted, path_.toString(), debugDescription);
}

QString ObjectWriter::wireKey(const char* field) {
    thread_local QHash<const char*, QString> cache;
    auto it = cache.constFind(field);
    if (it != cache.constEnd())
        return *it;
    return *cache.insert(field, convertToSnakeCase(QLatin1String(field)));
}

} // namespace json
