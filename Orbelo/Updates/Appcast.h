#pragma once

#include "JsonPath.h"

#include <QJsonValue>
#include <QString>
#include <QUrl>

#include <optional>

// The desktop appcast: the newest build and where to download it. Its keys are the field names
// themselves, not snake case.
struct Appcast {
    int latestBuild = 0;
    std::optional<QString> shortVersion;
    QUrl downloadURL;
    std::optional<QString> releaseNotes;
    std::optional<int> minSupportedBuild;
    std::optional<bool> critical;

    static Appcast decodeJson(const QJsonValue& value, const json::Path& path);
    bool operator==(const Appcast&) const = default;
};
