#pragma once

#include "JsonCoding.h"

#include <utility>
#include <vector>

namespace json {

// Reads the fields of a JSON object by their lower-camel-case names: the wire keys are converted
// from snake case first. Used by the generic record decoder and by hand-written decoders.
class ObjectReader {
public:
    // Throws a type mismatch when `value` is not an object.
    ObjectReader(const QJsonValue& value, const Path& path);

    // The value stored under the field's key; undefined when the key is absent.
    QJsonValue value(const char* field) const;
    bool contains(const char* field) const { return !value(field).isUndefined(); }
    const Path& path() const { return path_; }

    // Missing key: keyNotFound; null: valueNotFound; wrong type: typeMismatch.
    template <class T> T required(const char* field) const {
        const QJsonValue v = value(field);
        if (v.isUndefined())
            throw DecodingError(DecodingError::Kind::keyNotFound, path_.toString(),
                                QStringLiteral("No value associated with key ") + QLatin1String(field));
        if (v.isNull())
            throw DecodingError(DecodingError::Kind::valueNotFound, path_.child(field).toString(),
                                QStringLiteral("Expected a value but found null instead."));
        return decodeValue<T>(v, path_.child(field));
    }

    // Missing or null: absent; a present value must decode.
    template <class T> std::optional<T> optional(const char* field) const {
        const QJsonValue v = value(field);
        if (v.isUndefined() || v.isNull())
            return std::nullopt;
        return decodeValue<T>(v, path_.child(field));
    }

    // Like optional, but a value that does not decode also reads as absent.
    template <class T> std::optional<T> lenient(const char* field) const {
        try {
            return optional<T>(field);
        } catch (const DecodingError&) {
            return std::nullopt;
        }
    }

    [[noreturn]] void fail(const QString& debugDescription) const;

private:
    std::vector<std::pair<QString, QJsonValue>> entries_;
    Path path_;
};

// Builds a JSON object from lower-camel-case field names, converting them to snake case.
class ObjectWriter {
public:
    template <class T> void set(const char* field, const T& value) {
        object_.insert(wireKey(field), encodeValue(value));
    }
    template <class T> void set(const char* field, const std::optional<T>& value) {
        if (value)
            object_.insert(wireKey(field), encodeValue(*value));
    }
    QJsonObject object() const { return object_; }

    static QString wireKey(const char* field);

private:
    QJsonObject object_;
};

} // namespace json
