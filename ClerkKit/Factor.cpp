#include "Factor.h"

Factor Factor::decodeJson(const QJsonValue& value, const json::Path& path) {
    const json::ObjectReader reader(value, path);
    Factor factor;
    factor.strategy = reader.required<QString>("strategy");
    factor.safeIdentifier = reader.optional<QString>("safeIdentifier");
    factor.emailAddressId = reader.optional<QString>("emailAddressId");
    factor.phoneNumberId = reader.optional<QString>("phoneNumberId");
    factor.web3WalletId = reader.optional<QString>("web3WalletId");
    factor.primary = reader.optional<bool>("primary");
    factor.default_ = reader.optional<bool>("default");
    factor.enterpriseConnectionId = reader.optional<QString>("enterpriseConnectionId");
    factor.enterpriseConnectionName = reader.optional<QString>("enterpriseConnectionName");
    return factor;
}

QJsonValue Factor::encodeJson() const {
    json::ObjectWriter writer;
    writer.set("strategy", strategy);
    writer.set("safeIdentifier", safeIdentifier);
    writer.set("emailAddressId", emailAddressId);
    writer.set("phoneNumberId", phoneNumberId);
    writer.set("web3WalletId", web3WalletId);
    writer.set("primary", primary);
    writer.set("default", default_);
    writer.set("enterpriseConnectionId", enterpriseConnectionId);
    writer.set("enterpriseConnectionName", enterpriseConnectionName);
    return writer.object();
}
