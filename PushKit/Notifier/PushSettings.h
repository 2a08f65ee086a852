#pragma once

#include <QString>

// What the agent remembers about push between runs (none of it secret): where the stream is, the
// extra certificate to trust for it, the last message it has seen, and whether push is on.
// A stream the server refused (the device signed out) stays off until the app starts it again.
struct PushSettings {
    QString origin;         // "https://host:port"
    QString certificatePem; // "" for the system's CAs alone
    qint64 lastSeq = 0;
    bool active = false;
};
