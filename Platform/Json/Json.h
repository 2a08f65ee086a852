#pragma once

#include "JsonRecord.h"

#include <QByteArray>

namespace json {

// Parses any JSON text (objects, arrays and bare values); invalid or empty text is dataCorrupted.
QJsonValue parse(const QByteArray& bytes);

template <class T> T decode(const QByteArray& bytes) {
    return decodeValue<T>(parse(bytes), Path{});
}

template <class T> T fromValue(const QJsonValue& value) {
    return decodeValue<T>(value, Path{});
}

QByteArray serialize(const QJsonValue& value);

template <class T> QByteArray encode(const T& value) {
    return serialize(encodeValue(value));
}

} // namespace json
