#pragma once

#include "JsonRecord.h"
#include "OAuthProvider.h"

#include <QString>

// How a sign-in factor or a sign-up field is verified, by its raw value on the wire. The named
// strategies are the ones this client drives; any other raw value the Frontend API sends is kept
// as it came.
class FactorStrategy {
public:
    static FactorStrategy password() { return FactorStrategy(QStringLiteral("password")); }
    static FactorStrategy emailCode() { return FactorStrategy(QStringLiteral("email_code")); }
    static FactorStrategy phoneCode() { return FactorStrategy(QStringLiteral("phone_code")); }
    static FactorStrategy emailLink() { return FactorStrategy(QStringLiteral("email_link")); }
    static FactorStrategy resetPasswordEmailCode() {
        return FactorStrategy(QStringLiteral("reset_password_email_code"));
    }
    static FactorStrategy resetPasswordPhoneCode() {
        return FactorStrategy(QStringLiteral("reset_password_phone_code"));
    }
    static FactorStrategy passkey() { return FactorStrategy(QStringLiteral("passkey")); }
    static FactorStrategy totp() { return FactorStrategy(QStringLiteral("totp")); }
    static FactorStrategy backupCode() { return FactorStrategy(QStringLiteral("backup_code")); }
    static FactorStrategy ticket() { return FactorStrategy(QStringLiteral("ticket")); }
    static FactorStrategy enterpriseSso() { return FactorStrategy(QStringLiteral("enterprise_sso")); }
    static FactorStrategy saml() { return FactorStrategy(QStringLiteral("saml")); }
    // Browser OAuth through the provider.
    static FactorStrategy oauth(const OAuthProvider& provider) {
        return FactorStrategy(QStringLiteral("oauth_") + provider.strategySuffix());
    }
    // A native identity token of the provider.
    static FactorStrategy oauthToken(const OAuthProvider& provider) {
        return FactorStrategy(QStringLiteral("oauth_token_") + provider.strategySuffix());
    }

    static FactorStrategy fromRawValue(const QString& raw) { return FactorStrategy(raw); }
    const QString& rawValue() const { return raw_; }

    // Whether attempting the strategy takes a code that was sent to the user.
    bool takesCode() const;

    static FactorStrategy decodeJson(const QJsonValue& value, const json::Path& path);
    QJsonValue encodeJson() const { return raw_; }

    friend bool operator==(const FactorStrategy& a, const FactorStrategy& b) { return a.raw_ == b.raw_; }

private:
    explicit FactorStrategy(QString raw) : raw_(std::move(raw)) {}

    QString raw_;
};
