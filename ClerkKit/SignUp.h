#pragma once

#include "ClerkDate.h"
#include "FactorStrategy.h"
#include "Verification.h"

#include <QList>
#include <QMap>

// A sign-up attempt in progress on the device's client.
struct SignUp {
    enum class Status { missingRequirements, complete, abandoned };

    // The bodies of the sign-up requests; absent members are not sent.
    struct CreateParams {
        std::optional<QString> emailAddress;
        std::optional<QString> password;
        std::optional<QString> firstName;
        std::optional<QString> lastName;
        std::optional<QString> username;
        std::optional<QString> phoneNumber;
        std::optional<FactorStrategy> strategy;
        std::optional<QString> redirectUrl;
        std::optional<QString> token;
        std::optional<QString> ticket;
        std::optional<bool> transfer;
        std::optional<bool> legalAccepted;
        std::optional<QString> locale;
        std::optional<QJsonValue> unsafeMetadata;
        JSON_RECORD(CreateParams, emailAddress, password, firstName, lastName, username, phoneNumber,
                    strategy, redirectUrl, token, ticket, transfer, legalAccepted, locale, unsafeMetadata)
    };
    using UpdateParams = CreateParams;
    struct PrepareVerificationParams {
        FactorStrategy strategy = FactorStrategy::emailCode();
        std::optional<QString> emailAddressId;
        std::optional<QString> phoneNumberId;
        std::optional<QString> redirectUri;
        std::optional<QString> codeChallenge;
        std::optional<QString> codeChallengeMethod;
        JSON_RECORD(PrepareVerificationParams, strategy, emailAddressId, phoneNumberId, redirectUri,
                    codeChallenge, codeChallengeMethod)
    };
    struct AttemptVerificationParams {
        FactorStrategy strategy = FactorStrategy::emailCode();
        std::optional<QString> code;
        JSON_RECORD(AttemptVerificationParams, strategy, code)
    };

    QString id;
    std::optional<Status> status;
    // Field names: "email_address", "password", …, "oauth_" + provider.
    std::optional<QList<QString>> requiredFields;
    std::optional<QList<QString>> optionalFields;
    std::optional<QList<QString>> missingFields;
    std::optional<QList<QString>> unverifiedFields;
    std::optional<QMap<QString, std::optional<Verification>>> verifications;
    std::optional<QString> username;
    std::optional<QString> emailAddress;
    std::optional<QString> phoneNumber;
    std::optional<QString> web3Wallet;
    std::optional<bool> passwordEnabled;
    std::optional<QString> firstName;
    std::optional<QString> lastName;
    std::optional<QJsonValue> unsafeMetadata;
    std::optional<QString> createdSessionId;
    std::optional<QString> createdUserId;
    std::optional<ClerkDate> abandonAt;
    JSON_RECORD(SignUp, id, status, requiredFields, optionalFields, missingFields, unverifiedFields,
                verifications, username, emailAddress, phoneNumber, web3Wallet, passwordEnabled, firstName,
                lastName, unsafeMetadata, createdSessionId, createdUserId, abandonAt)
};

constexpr std::array<std::pair<SignUp::Status, const char*>, 3> jsonRawValues(SignUp::Status) {
    return {{{SignUp::Status::missingRequirements, "missing_requirements"},
             {SignUp::Status::complete, "complete"},
             {SignUp::Status::abandoned, "abandoned"}}};
}
