#pragma once

#include "ObjectReader.h"

#include <tuple>

// JSON_RECORD(Type, field, ...) inside a struct lists its fields once; the codec derives the wire
// keys (snake case) from their names. Optional fields are left out when absent and read as absent
// when missing or null.
#define JSON_RECORD(Type, ...)                                                                               \
    static constexpr auto jsonFields() {                                                                     \
        return std::make_tuple(JSON_FOR_EACH(Type, JSON_FIELD_ENTRY, __VA_ARGS__));                          \
    }
#define JSON_FIELD_ENTRY(Type, f)                                                                            \
    ::json::Field<Type, decltype(Type::f)> {                                                                 \
#f, &Type::f                                                                                         \
    }

#define JSON_EXPAND(x) x
#define JSON_FE_1(T, m, x) m(T, x)
#define JSON_FE_2(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_1(T, m, __VA_ARGS__))
#define JSON_FE_3(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_2(T, m, __VA_ARGS__))
#define JSON_FE_4(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_3(T, m, __VA_ARGS__))
#define JSON_FE_5(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_4(T, m, __VA_ARGS__))
#define JSON_FE_6(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_5(T, m, __VA_ARGS__))
#define JSON_FE_7(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_6(T, m, __VA_ARGS__))
#define JSON_FE_8(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_7(T, m, __VA_ARGS__))
#define JSON_FE_9(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_8(T, m, __VA_ARGS__))
#define JSON_FE_10(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_9(T, m, __VA_ARGS__))
#define JSON_FE_11(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_10(T, m, __VA_ARGS__))
#define JSON_FE_12(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_11(T, m, __VA_ARGS__))
#define JSON_FE_13(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_12(T, m, __VA_ARGS__))
#define JSON_FE_14(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_13(T, m, __VA_ARGS__))
#define JSON_FE_15(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_14(T, m, __VA_ARGS__))
#define JSON_FE_16(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_15(T, m, __VA_ARGS__))
#define JSON_FE_17(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_16(T, m, __VA_ARGS__))
#define JSON_FE_18(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_17(T, m, __VA_ARGS__))
#define JSON_FE_19(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_18(T, m, __VA_ARGS__))
#define JSON_FE_20(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_19(T, m, __VA_ARGS__))
#define JSON_FE_21(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_20(T, m, __VA_ARGS__))
#define JSON_FE_22(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_21(T, m, __VA_ARGS__))
#define JSON_FE_23(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_22(T, m, __VA_ARGS__))
#define JSON_FE_24(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_23(T, m, __VA_ARGS__))
#define JSON_FE_25(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_24(T, m, __VA_ARGS__))
#define JSON_FE_26(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_25(T, m, __VA_ARGS__))
#define JSON_FE_27(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_26(T, m, __VA_ARGS__))
#define JSON_FE_28(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_27(T, m, __VA_ARGS__))
#define JSON_FE_29(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_28(T, m, __VA_ARGS__))
#define JSON_FE_30(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_29(T, m, __VA_ARGS__))
#define JSON_FE_31(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_30(T, m, __VA_ARGS__))
#define JSON_FE_32(T, m, x, ...) m(T, x), JSON_EXPAND(JSON_FE_31(T, m, __VA_ARGS__))
#define JSON_FE_PICK(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, _11, _12, _13, _14, _15, _16, _17, _18, _19,   \
                     _20, _21, _22, _23, _24, _25, _26, _27, _28, _29, _30, _31, _32, NAME, ...)             \
    NAME
#define JSON_FOR_EACH(T, m, ...)                                                                             \
    JSON_EXPAND(JSON_FE_PICK(__VA_ARGS__, JSON_FE_32, JSON_FE_31, JSON_FE_30, JSON_FE_29, JSON_FE_28,        \
                             JSON_FE_27, JSON_FE_26, JSON_FE_25, JSON_FE_24, JSON_FE_23, JSON_FE_22,         \
                             JSON_FE_21, JSON_FE_20, JSON_FE_19, JSON_FE_18, JSON_FE_17, JSON_FE_16,         \
                             JSON_FE_15, JSON_FE_14, JSON_FE_13, JSON_FE_12, JSON_FE_11, JSON_FE_10,         \
                             JSON_FE_9, JSON_FE_8, JSON_FE_7, JSON_FE_6, JSON_FE_5, JSON_FE_4, JSON_FE_3,    \
                             JSON_FE_2, JSON_FE_1)(T, m, __VA_ARGS__))

namespace json {

template <class Record, class Member> struct Field {
    const char* name;
    Member Record::*member;
};

template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type { using Inner = T; };

template <class T, class = void> struct HasFields : std::false_type {};
template <class T> struct HasFields<T, std::void_t<decltype(T::jsonFields())>> : std::true_type {};

template <class T, class = void> struct HasCustomDecode : std::false_type {};
template <class T>
struct HasCustomDecode<
    T, std::void_t<decltype(T::decodeJson(std::declval<const QJsonValue&>(), std::declval<const Path&>()))>>
    : std::true_type {};

template <class T, class = void> struct HasCustomEncode : std::false_type {};
template <class T>
struct HasCustomEncode<T, std::void_t<decltype(std::declval<const T&>().encodeJson())>> : std::true_type {};

// Decodes the declared fields of a record from an object.
template <class T> T decodeFields(const ObjectReader& reader) {
    T out{};
    std::apply(
        [&](const auto&... field) {
            (
                [&](const auto& f) {
                    using Member = std::remove_cvref_t<decltype(out.*(f.member))>;
                    if constexpr (IsOptional<Member>::value)
                        out.*(f.member) =
                            reader.template optional<typename IsOptional<Member>::Inner>(f.name);
                    else
                        out.*(f.member) = reader.template required<Member>(f.name);
                }(field),
                ...);
        },
        T::jsonFields());
    return out;
}

template <class T> QJsonObject encodeFields(const T& value) {
    ObjectWriter writer;
    std::apply([&](const auto&... field) { (writer.set(field.name, value.*(field.member)), ...); },
               T::jsonFields());
    return writer.object();
}

// Records: declared fields, or the record's own decodeJson/encodeJson where it has them.
template <class T>
struct Coding<
    T, std::enable_if_t<HasFields<T>::value || HasCustomDecode<T>::value || HasCustomEncode<T>::value>> {
    static T decode(const QJsonValue& v, const Path& p) {
        if constexpr (HasCustomDecode<T>::value)
            return T::decodeJson(v, p);
        else
            return decodeFields<T>(ObjectReader(v, p));
    }
    static QJsonValue encode(const T& t) {
        if constexpr (HasCustomEncode<T>::value)
            return t.encodeJson();
        else
            return encodeFields(t);
    }
};

} // namespace json
