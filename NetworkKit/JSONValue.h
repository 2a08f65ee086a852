#pragma once

#include "JsonPath.h"

#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>

#include <variant>

// Any JSON value, for free-form metadata. Decoding never fails: what is not null, a boolean, a
// number, a string, an object or an array reads as null.
class JSONValue {
public:
    struct Null {
        bool operator==(const Null&) const = default;
    };
    using Object = QMap<QString, JSONValue>;
    using Array = QList<JSONValue>;
    using Storage = std::variant<QString, double, bool, Object, Array, Null>;

    JSONValue() : value_(Null{}) {}
    JSONValue(Storage value) : value_(std::move(value)) {}

    const Storage& value() const { return value_; }
    bool isNull() const { return std::holds_alternative<Null>(value_); }
    template <class T> const T* get() const { return std::get_if<T>(&value_); }

    bool operator==(const JSONValue&) const = default;

    static JSONValue decodeJson(const QJsonValue& value, const json::Path& path);
    QJsonValue encodeJson() const;

private:
    Storage value_;
};
