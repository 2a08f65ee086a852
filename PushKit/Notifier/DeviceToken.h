#pragma once

#include <QByteArrayView>
#include <QString>

// The device's push token: what the app registers with the server and the agent presents when it
// opens the push stream. 32 random bytes written as 64 lower-case hex digits.
struct DeviceToken {
    static constexpr int byteCount = 32;

    // "%02x" per byte: 0x0a 0xff is "0aff".
    static QString text(QByteArrayView bytes);
    // A new token from the system's random source.
    static QString generate();
    // 64 lower-case hex digits, as generate() makes them (a token read back from the keyring).
    static bool isWellFormed(const QString& token);
};
