#pragma once

#include "JsonRecord.h"

struct MnemonicGenerationRequest {
    std::optional<QString> content;
    std::optional<QString> documentId;
    QString mnemonicType;
    QString difficulty;
    std::optional<QString> topic;
    std::optional<QString> courseId;
    std::optional<QString> keyIdeas;
    bool store = false;
    JSON_RECORD(MnemonicGenerationRequest, content, documentId, mnemonicType, difficulty, topic, courseId,
                keyIdeas, store)
};
