#pragma once

#include "DecodedJWT.h"
#include "JsonRecord.h"

// A session token as the Frontend API issues it.
struct TokenResource {
    QString jwt;
    JSON_RECORD(TokenResource, jwt)

    // The token's claims; throws DecodedJWT::DecodeError.
    DecodedJWT decodedJWT() const { return DecodedJWT::decode(jwt); }

    friend bool operator==(const TokenResource& a, const TokenResource& b) { return a.jwt == b.jwt; }
};
