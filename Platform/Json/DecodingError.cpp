#include "DecodingError.h"

namespace json {

DecodingError::DecodingError(Kind kind, QString codingPath, QString debugDescription)
    : kind_(kind), codingPath_(std::move(codingPath)), debugDescription_(std::move(debugDescription)),
      what_(
          (codingPath_.isEmpty() ? debugDescription_ : codingPath_ + QStringLiteral(": ") + debugDescription_)
              .toUtf8()) {}

QString DecodingError::localizedDescription() const {
    switch (kind_) {
    case Kind::keyNotFound:
    case Kind::valueNotFound:
        return QStringLiteral("The data couldn’t be read because it is missing.");
    case Kind::typeMismatch:
    case Kind::dataCorrupted:
        break;
    }
    return QStringLiteral("The data couldn’t be read because it isn’t in the correct format.");
}

} // namespace json
