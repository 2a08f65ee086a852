#pragma once

#include "JsonRecord.h"

struct TTSSpeakRequest {
    QString text;
    std::optional<QString> voice;
    std::optional<QString> model;
    JSON_RECORD(TTSSpeakRequest, text, voice, model)
};
