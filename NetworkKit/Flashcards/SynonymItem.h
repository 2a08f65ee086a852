#pragma once

#include "JsonRecord.h"

struct SynonymItem {
    QString synonym;
    std::optional<QString> definition;
    std::optional<QString> exampleSentence;
    std::optional<QString> difficultyLevel;
    JSON_RECORD(SynonymItem, synonym, definition, exampleSentence, difficultyLevel)
};
