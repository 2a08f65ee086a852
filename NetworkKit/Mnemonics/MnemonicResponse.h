#pragma once

#include "JsonRecord.h"

struct MnemonicResponse {
    bool success = false;
    QString mnemonic;
    std::optional<QString> explanation;
    QString type;
    QString difficulty;
    QString createdAt;
    std::optional<QString> mnemonicId;
    JSON_RECORD(MnemonicResponse, success, mnemonic, explanation, type, difficulty, createdAt, mnemonicId)
};
