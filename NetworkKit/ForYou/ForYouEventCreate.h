#pragma once

#include "JsonRecord.h"

struct ForYouEventCreate {
    QString cardId;
    QString conceptId;
    QString eventType;
    JSON_RECORD(ForYouEventCreate, cardId, conceptId, eventType)
};
