#include "ClerkDate.h"

#include "JsonCoding.h"

ClerkDate ClerkDate::decodeJson(const QJsonValue& json, const json::Path& path) {
    return fromMSecsSinceEpoch(json::decodeValue<qint64>(json, path));
}
