#pragma once

#include "Factor.h"
#include "Verification.h"

#include <QList>

// A sign-in attempt in progress on the device's client.
struct SignIn {
    enum class Status {
        complete,
        needsIdentifier,
        needsFirstFactor,
        needsSecondFactor,
        needsNewPassword,
        needsClientTrust
    };

    struct UserData {
        std::optional<QString> firstName;
        std::optional<QString> lastName;
        std::optional<QString> imageUrl;
        std::optional<bool> hasImage;
        JSON_RECORD(UserData, firstName, lastName, imageUrl, hasImage)
    };

    QString id;
    std::optional<Status> status;
    std::optional<QList<QString>> supportedIdentifiers;
    std::optional<QString> identifier;
    std::optional<QList<Factor>> supportedFirstFactors;
    std::optional<QList<Factor>> supportedSecondFactors;
    std::optional<Verification> firstFactorVerification;
    std::optional<Verification> secondFactorVerification;
    std::optional<UserData> userData;
    std::optional<QString> createdSessionId;
    JSON_RECORD(SignIn, id, status, supportedIdentifiers, identifier, supportedFirstFactors,
                supportedSecondFactors, firstFactorVerification, secondFactorVerification, userData,
                createdSessionId)
};

constexpr std::array<std::pair<SignIn::Status, const char*>, 6> jsonRawValues(SignIn::Status) {
    return {{{SignIn::Status::complete, "complete"},
             {SignIn::Status::needsIdentifier, "needs_identifier"},
             {SignIn::Status::needsFirstFactor, "needs_first_factor"},
             {SignIn::Status::needsSecondFactor, "needs_second_factor"},
             {SignIn::Status::needsNewPassword, "needs_new_password"},
             {SignIn::Status::needsClientTrust, "needs_client_trust"}}};
}
