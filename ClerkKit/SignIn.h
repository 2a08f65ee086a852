#pragma once

#include "Factor.h"
#include "FactorStrategy.h"
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

    // The bodies of the sign-in requests; absent members are not sent.
    struct CreateParams {
        std::optional<QString> identifier;
        std::optional<QString> password;
        std::optional<FactorStrategy> strategy;
        std::optional<QString> redirectUrl;
        std::optional<QString> token;
        std::optional<QString> ticket;
        std::optional<bool> transfer;
        std::optional<QString> locale;
        JSON_RECORD(CreateParams, identifier, password, strategy, redirectUrl, token, ticket, transfer,
                    locale)
    };
    struct PrepareFirstFactorParams {
        FactorStrategy strategy = FactorStrategy::emailCode();
        std::optional<QString> emailAddressId;
        std::optional<QString> phoneNumberId;
        std::optional<QString> redirectUrl;
        std::optional<QString> redirectUri;
        std::optional<QString> codeChallenge;
        std::optional<QString> codeChallengeMethod;
        JSON_RECORD(PrepareFirstFactorParams, strategy, emailAddressId, phoneNumberId, redirectUrl,
                    redirectUri, codeChallenge, codeChallengeMethod)
    };
    struct AttemptFirstFactorParams {
        FactorStrategy strategy = FactorStrategy::emailCode();
        std::optional<QString> code;
        std::optional<QString> password;
        std::optional<QString> token;
        std::optional<QString> publicKeyCredential;
        JSON_RECORD(AttemptFirstFactorParams, strategy, code, password, token, publicKeyCredential)
    };
    struct PrepareSecondFactorParams {
        FactorStrategy strategy = FactorStrategy::phoneCode();
        std::optional<QString> emailAddressId;
        std::optional<QString> phoneNumberId;
        JSON_RECORD(PrepareSecondFactorParams, strategy, emailAddressId, phoneNumberId)
    };
    struct AttemptSecondFactorParams {
        FactorStrategy strategy = FactorStrategy::phoneCode();
        std::optional<QString> code;
        JSON_RECORD(AttemptSecondFactorParams, strategy, code)
    };
    struct ResetPasswordParams {
        std::optional<QString> password;
        std::optional<bool> signOutOfOtherSessions;
        JSON_RECORD(ResetPasswordParams, password, signOutOfOtherSessions)
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
