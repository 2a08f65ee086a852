#pragma once

#include "ClerkAPIError.h"
#include "ClerkDate.h"

// The state of one verification of a sign-in factor or a sign-up field.
struct Verification {
    std::optional<QString> status; // "unverified", "verified", "transferable", "failed", "expired"
    std::optional<QString> strategy;
    std::optional<int> attempts;
    std::optional<ClerkDate> expireAt;
    std::optional<ClerkAPIError> error;
    std::optional<QString> externalVerificationRedirectUrl;
    std::optional<QString> nonce;
    JSON_RECORD(Verification, status, strategy, attempts, expireAt, error, externalVerificationRedirectUrl,
                nonce)
};
