#pragma once

#include <QJsonValue>
#include <optional>

// Numbers in request bodies, checked rather than coerced: a string, a fraction where a count is
// expected or a value past int's range is refused instead of read as 0.
namespace JsonNumbers {

// A JSON number with no fractional part that fits an int.
std::optional<int> wholeNumber(const QJsonValue& value);
// A finite JSON number within [low, high].
std::optional<double> numberWithin(const QJsonValue& value, double low, double high);

} // namespace JsonNumbers
