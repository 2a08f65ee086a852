#include "Storage/UserTimeZone.h"

#include "Auth/ProfileStore.h"

UserTimeZone UserTimeZone::of(Database& db, const QString& userId) {
    const QByteArray id = ProfileStore(db).timeZone(userId).toUtf8();
    if (!id.isEmpty() && QTimeZone::isTimeZoneIdAvailable(id))
        return {QTimeZone(id), QString::fromUtf8(id), QStringLiteral("profile")};
    return {QTimeZone(QByteArrayLiteral("UTC")), QStringLiteral("UTC"), QStringLiteral("default")};
}
