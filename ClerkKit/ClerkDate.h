#pragma once

#include "JsonPath.h"

#include <QDateTime>
#include <QJsonValue>

// A Frontend API date: whole milliseconds since 1970 on the wire, both ways.
struct ClerkDate {
    QDateTime value;

    static ClerkDate fromMSecsSinceEpoch(qint64 ms) { return {QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)}; }

    static ClerkDate decodeJson(const QJsonValue& json, const json::Path& path);
    QJsonValue encodeJson() const { return double(value.toMSecsSinceEpoch()); }

    friend bool operator==(const ClerkDate& a, const ClerkDate& b) { return a.value == b.value; }
    friend bool operator<(const ClerkDate& a, const ClerkDate& b) { return a.value < b.value; }
};
