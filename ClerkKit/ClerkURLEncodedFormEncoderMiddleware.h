#pragma once

#include "ClerkRequestMiddleware.h"

// Turns a JSON object body into a URL-encoded form when the request says it carries one.
class ClerkURLEncodedFormEncoderMiddleware final : public ClerkRequestMiddleware {
public:
    async::Task<void> prepare(ClerkRequest& request) override;
};
