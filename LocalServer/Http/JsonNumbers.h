#pragma once

#include <QJsonValue>
#include <QtGlobal>
#include <optional>

// Numbers in request bodies, checked rather than coerced: a string, a fraction where a count is
// expected or a value past int's range is refused instead of read as 0.
namespace JsonNumbers {

// The largest count a JSON number carries exactly (2^53): XP, credits and byte counts stay at or
// below it, so what the server writes reads back the same in any client.
constexpr qint64 maxExactInteger = qint64(1) << 53;

// A JSON number with no fractional part that fits an int.
std::optional<int> wholeNumber(const QJsonValue& value);
// A JSON number with no fractional part within [low, high]; the bounds are within
// ±maxExactInteger.
std::optional<qint64> integerWithin(const QJsonValue& value, qint64 low, qint64 high);
// A finite JSON number within [low, high].
std::optional<double> numberWithin(const QJsonValue& value, double low, double high);

} // namespace JsonNumbers
