#include "Http/JsonNumbers.h"

#include <cmath>
#include <limits>

namespace JsonNumbers {

std::optional<int> wholeNumber(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::trunc(number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(number);
}

std::optional<qint64> integerWithin(const QJsonValue& value, qint64 low, qint64 high) {
    const auto number = numberWithin(value, double(low), double(high));
    if (!number || *number != std::trunc(*number))
        return std::nullopt;
    return qint64(*number);
}

std::optional<double> numberWithin(const QJsonValue& value, double low, double high) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < low || number > high)
        return std::nullopt;
    return number;
}

} // namespace JsonNumbers
