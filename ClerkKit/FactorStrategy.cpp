#include "FactorStrategy.h"

bool FactorStrategy::takesCode() const {
    return *this == emailCode() || *this == phoneCode() || *this == resetPasswordEmailCode() ||
           *this == resetPasswordPhoneCode() || *this == totp() || *this == backupCode();
}

FactorStrategy FactorStrategy::decodeJson(const QJsonValue& value, const json::Path& path) {
    return FactorStrategy(json::decodeValue<QString>(value, path));
}
