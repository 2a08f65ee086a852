#include "MnemonicAPI.h"

#include "GenerationCall.h"

async::Task<MnemonicResponse> MnemonicAPI::generate(const MnemonicGenerationRequest& request) const {
    return postGeneration<MnemonicResponse>(client_, QStringLiteral("/api/v1/learning-content/mnemonic"),
                                            request);
}
