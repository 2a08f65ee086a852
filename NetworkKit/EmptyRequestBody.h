#pragma once

#include "JsonPath.h"

#include <QJsonObject>

// A record without fields: sent as {} by POST and PATCH calls that have nothing to say, and the
// answer of calls whose reply the caller does not read (any JSON reads as one).
struct EmptyRequestBody {
    QJsonValue encodeJson() const { return QJsonObject(); }
    static EmptyRequestBody decodeJson(const QJsonValue&, const json::Path&) { return {}; }
    bool operator==(const EmptyRequestBody&) const = default;
};
