#pragma once

#include <QString>

#include <optional>

// What the Frontend API is told about the device and the app, in the "x-…" request headers.
struct DeviceInfo {
    std::optional<QString> deviceId; // stable per machine and app; none when the machine has no id
    QString deviceType;
    QString deviceModel;
    QString osVersion;
    QString appVersion;
    QString appId;
    bool isSandboxed = false;

    static DeviceInfo current();
};
