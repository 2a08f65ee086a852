#include "Updates/Appcast.h"

#include "JsonCoding.h"

#include <QJsonObject>

namespace {
template <class T>
std::optional<T> optionalField(const QJsonObject& o, const char* key, const json::Path& path) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        return std::nullopt;
    return json::decodeValue<T>(v, path.child(key));
}

template <class T> T requiredField(const QJsonObject& o, const char* key, const json::Path& path) {
    if (auto v = optionalField<T>(o, key, path))
        return *v;
    throw json::DecodingError(json::DecodingError::Kind::keyNotFound, path.toString(),
                              QStringLiteral("No value associated with key ") + QLatin1String(key));
}
} // namespace

Appcast Appcast::decodeJson(const QJsonValue& value, const json::Path& path) {
    if (!value.isObject())
        json::throwTypeMismatch(path, "Dictionary<String, Any>", value);
    const QJsonObject o = value.toObject();
    Appcast appcast;
    appcast.latestBuild = requiredField<int>(o, "latestBuild", path);
    appcast.shortVersion = optionalField<QString>(o, "shortVersion", path);
    const QString url = requiredField<QString>(o, "downloadURL", path);
    appcast.downloadURL = QUrl(url, QUrl::StrictMode);
    if (url.isEmpty() || !appcast.downloadURL.isValid())
        throw json::DecodingError(json::DecodingError::Kind::dataCorrupted,
                                  path.child("downloadURL").toString(),
                                  QStringLiteral("Invalid URL string."));
    appcast.releaseNotes = optionalField<QString>(o, "releaseNotes", path);
    appcast.minSupportedBuild = optionalField<int>(o, "minSupportedBuild", path);
    appcast.critical = optionalField<bool>(o, "critical", path);
    return appcast;
}
