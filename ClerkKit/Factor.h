#pragma once

#include "JsonRecord.h"

#include <QString>

// A way to pass a sign-in step ("password", "email_code", "phone_code", …).
struct Factor {
    QString strategy;
    std::optional<QString> safeIdentifier;
    std::optional<QString> emailAddressId;
    std::optional<QString> phoneNumberId;
    std::optional<QString> web3WalletId;
    std::optional<bool> primary;
    std::optional<bool> default_; // "default" on the wire
    std::optional<QString> enterpriseConnectionId;
    std::optional<QString> enterpriseConnectionName;

    static Factor decodeJson(const QJsonValue& value, const json::Path& path);
    QJsonValue encodeJson() const;
};
