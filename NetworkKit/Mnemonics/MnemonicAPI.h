#pragma once

#include "APIClient.h"
#include "MnemonicGenerationRequest.h"
#include "MnemonicResponse.h"

class MnemonicAPI {
public:
    explicit MnemonicAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<MnemonicResponse> generate(const MnemonicGenerationRequest& request) const;

private:
    APIClient client_;
};
