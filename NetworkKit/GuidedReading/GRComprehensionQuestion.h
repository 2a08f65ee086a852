#pragma once

#include "JsonRecord.h"

struct GRComprehensionQuestion {
    QString question;
    std::optional<QString> type;
    std::optional<QString> expectedAnswer;
    JSON_RECORD(GRComprehensionQuestion, question, type, expectedAnswer)
};
