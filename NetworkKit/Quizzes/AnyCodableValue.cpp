#include "AnyCodableValue.h"

#include "DecodingError.h"

#include <cmath>
#include <limits>

AnyCodableValue AnyCodableValue::decodeJson(const QJsonValue& value, const json::Path& path) {
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (std::trunc(d) == d && d >= double(std::numeric_limits<int>::min()) &&
            d <= double(std::numeric_limits<int>::max()))
            return AnyCodableValue(int(d));
    } else if (value.isString()) {
        return AnyCodableValue(value.toString());
    }
    throw json::DecodingError(json::DecodingError::Kind::dataCorrupted, path.toString(),
                              QStringLiteral("Unsupported correctAnswers entry"));
}
