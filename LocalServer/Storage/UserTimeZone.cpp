#include "UserTimeZone.h"

#include "Database.h"

UserTimeZone UserTimeZone::of(Database& db, const QString& userId) {
    const auto row = db.row("SELECT timezone FROM profiles WHERE user_id = ?", {userId});
    const QByteArray id = row ? row->value("timezone").toString().toUtf8() : QByteArray();
    if (!id.isEmpty() && QTimeZone::isTimeZoneIdAvailable(id))
        return {QTimeZone(id), QString::fromUtf8(id), QStringLiteral("profile")};
    return {QTimeZone(QByteArrayLiteral("UTC")), QStringLiteral("UTC"), QStringLiteral("default")};
}
