#pragma once

#include "JsonPath.h"

#include <QJsonValue>
#include <QString>

#include <variant>

// A correct-answer entry of a quiz question: an integer or a string, nothing else.
class AnyCodableValue {
public:
    using Storage = std::variant<int, QString>;

    explicit AnyCodableValue(Storage value) : value_(std::move(value)) {}

    const int* integer() const { return std::get_if<int>(&value_); }
    const QString* string() const { return std::get_if<QString>(&value_); }

    // Tries an integer first, then a string; any other JSON fails the decode.
    static AnyCodableValue decodeJson(const QJsonValue& value, const json::Path& path);

private:
    Storage value_;
};
