#include "Notifications/DeviceStore.h"

#include "Push/PushStreams.h"
#include "ServerContext.h"
#include "Storage/SecretHash.h"

#include <QRegularExpression>

bool DeviceStore::registerDevice(const QString& userId, const QString& sessionId, const Registration& device,
                                 qint64 nowMs) {
    // A device that changes hands counts as registered anew.
    const bool stored = context_.db.exec(
        "INSERT INTO devices (token_hash, user_id, session_id, platform, app_version, registered_at,"
        " updated_at) VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (token_hash) DO UPDATE SET"
        " registered_at = CASE WHEN devices.user_id = excluded.user_id THEN devices.registered_at"
        " ELSE excluded.registered_at END, user_id = excluded.user_id, session_id = excluded.session_id,"
        " platform = excluded.platform, app_version = excluded.app_version, updated_at = excluded.updated_at",
        {SecretHash::of(device.deviceToken), userId, sessionId, device.platform,
         device.appVersion.isEmpty() ? QVariant() : QVariant(device.appVersion), nowMs, nowMs});
    if (stored && context_.pushStreams)
        context_.pushStreams->closeDevice(device.deviceToken, userId);
    return stored;
}

std::optional<DeviceStore::Device> DeviceStore::find(const QString& deviceToken, qint64 nowMs) {
    const auto row = context_.db.row(
        "SELECT d.user_id, d.registered_at FROM devices d JOIN sessions s ON s.id = d.session_id"
        " WHERE d.token_hash = ? AND s.status = 'active' AND s.expire_at > ?",
        {SecretHash::of(deviceToken), nowMs});
    if (!row)
        return std::nullopt;
    return Device{deviceToken, row->value("user_id").toString(), row->value("registered_at").toLongLong()};
}

QStringList DeviceStore::tokenHashesOf(const QString& userId, qint64 nowMs) {
    QStringList hashes;
    for (const QVariantMap& row :
         context_.db.rows("SELECT d.token_hash FROM devices d JOIN sessions s ON s.id = d.session_id"
                          " WHERE d.user_id = ? AND s.status = 'active' AND s.expire_at > ?"
                          " ORDER BY d.registered_at, d.token_hash",
                          {userId, nowMs}))
        hashes.append(row.value("token_hash").toString());
    return hashes;
}

void DeviceStore::forgetEndedSessions() {
    QStringList forgotten;
    for (const QVariantMap& row : context_.db.rows("DELETE FROM devices WHERE session_id NOT IN"
                                                   " (SELECT id FROM sessions WHERE status = 'active')"
                                                   " RETURNING token_hash"))
        forgotten.append(row.value("token_hash").toString());
    if (context_.pushStreams && !forgotten.isEmpty())
        context_.pushStreams->closeDevices(forgotten);
}

bool DeviceStore::hashStoredTokens() {
    for (const QVariantMap& row : context_.db.rows("SELECT token_hash FROM devices")) {
        const QString token = row.value("token_hash").toString();
        if (!context_.db.exec("UPDATE devices SET token_hash = ? WHERE token_hash = ?",
                              {SecretHash::of(token), token}))
            return false;
    }
    return true;
}

bool DeviceStore::isToken(const QString& token) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{64}$"));
    return pattern.match(token).hasMatch();
}
