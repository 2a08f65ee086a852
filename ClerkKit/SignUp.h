#pragma once

#include "ClerkDate.h"
#include "Verification.h"

#include <QList>
#include <QMap>

// A sign-up attempt in progress on the device's client.
struct SignUp {
    enum class Status { missingRequirements, complete, abandoned };

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
