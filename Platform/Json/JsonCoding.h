#pragma once

#include "DecodingError.h"
#include "JsonPath.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QMap>

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

namespace json {

// Coding<T> turns a T into JSON and back. Records declared with JSON_RECORD, string enumerations
// with a jsonRawValues() overload, and the types below are covered; a type may also bring its own
// `static T decodeJson(const QJsonValue&, const Path&)` and `QJsonValue encodeJson() const`.
template <class T, class = void> struct Coding;

QString describeType(const QJsonValue& value);
[[noreturn]] void throwTypeMismatch(const Path& path, const char* expected, const QJsonValue& found);

template <class T> T decodeValue(const QJsonValue& value, const Path& path) {
    return Coding<T>::decode(value, path);
}

template <class T> QJsonValue encodeValue(const T& value) {
    return Coding<T>::encode(value);
}

template <> struct Coding<QString> {
    static QString decode(const QJsonValue& v, const Path& p) {
        if (!v.isString())
            throwTypeMismatch(p, "String", v);
        return v.toString();
    }
    static QJsonValue encode(const QString& s) { return s; }
};

template <> struct Coding<bool> {
    static bool decode(const QJsonValue& v, const Path& p) {
        if (!v.isBool())
            throwTypeMismatch(p, "Bool", v);
        return v.toBool();
    }
    static QJsonValue encode(bool b) { return b; }
};

template <> struct Coding<double> {
    static double decode(const QJsonValue& v, const Path& p) {
        if (!v.isDouble())
            throwTypeMismatch(p, "Double", v);
        return v.toDouble();
    }
    static QJsonValue encode(double d) { return d; }
};

template <class Int>
struct Coding<Int, std::enable_if_t<std::is_integral_v<Int> && !std::is_same_v<Int, bool>>> {
    static Int decode(const QJsonValue& v, const Path& p) {
        if (!v.isDouble())
            throwTypeMismatch(p, "Int", v);
        const double d = v.toDouble();
        if (std::trunc(d) != d || d < double(std::numeric_limits<Int>::min()) ||
            d > double(std::numeric_limits<Int>::max()))
            throw DecodingError(DecodingError::Kind::dataCorrupted, p.toString(),
                                QStringLiteral("Parsed JSON number <%1> does not fit.").arg(d));
        return Int(d);
    }
    static QJsonValue encode(Int i) { return double(i); }
};

template <class T> struct Coding<std::optional<T>> {
    static std::optional<T> decode(const QJsonValue& v, const Path& p) {
        if (v.isNull() || v.isUndefined())
            return std::nullopt;
        return Coding<T>::decode(v, p);
    }
    static QJsonValue encode(const std::optional<T>& o) { return o ? Coding<T>::encode(*o) : QJsonValue(); }
};

template <class T> struct Coding<QList<T>> {
    static QList<T> decode(const QJsonValue& v, const Path& p) {
        if (!v.isArray())
            throwTypeMismatch(p, "Array<Any>", v);
        const QJsonArray array = v.toArray();
        QList<T> out;
        out.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i)
            out.append(Coding<T>::decode(array.at(i), p.child(i)));
        return out;
    }
    static QJsonValue encode(const QList<T>& list) {
        QJsonArray array;
        for (const auto& item : list)
            array.append(Coding<T>::encode(item));
        return array;
    }
};

// Dictionary keys are data, not field names: they are never case-converted.
template <class T> struct Coding<QMap<QString, T>> {
    static QMap<QString, T> decode(const QJsonValue& v, const Path& p) {
        if (!v.isObject())
            throwTypeMismatch(p, "Dictionary<String, Any>", v);
        const QJsonObject object = v.toObject();
        QMap<QString, T> out;
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QString key = it.key();
            out.insert(key, Coding<T>::decode(it.value(), p.child(key)));
        }
        return out;
    }
    static QJsonValue encode(const QMap<QString, T>& map) {
        QJsonObject object;
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), Coding<T>::encode(it.value()));
        return object;
    }
};

template <> struct Coding<QJsonValue> {
    static QJsonValue decode(const QJsonValue& v, const Path&) { return v; }
    static QJsonValue encode(const QJsonValue& v) { return v; }
};

// String enumerations: an overload `jsonRawValues(E)` found by argument-dependent lookup lists
// each case with its raw value.
template <class E> using RawValuesOf = decltype(jsonRawValues(E{}));

template <class E> std::optional<E> enumFromRawValue(const QString& raw) {
    for (const auto& [value, text] : jsonRawValues(E{}))
        if (raw == QLatin1String(text))
            return value;
    return std::nullopt;
}

template <class E> QString rawValue(E value) {
    for (const auto& [v, text] : jsonRawValues(E{}))
        if (v == value)
            return QString::fromLatin1(text);
    return {};
}

template <class E> struct Coding<E, std::enable_if_t<std::is_enum_v<E>, std::void_t<RawValuesOf<E>>>> {
    static E decode(const QJsonValue& v, const Path& p) {
        const QString raw = Coding<QString>::decode(v, p);
        if (auto e = enumFromRawValue<E>(raw))
            return *e;
        throw DecodingError(DecodingError::Kind::dataCorrupted, p.toString(),
                            QStringLiteral("Cannot initialize from invalid String value ") + raw);
    }
    static QJsonValue encode(E e) { return rawValue(e); }
};

} // namespace json
