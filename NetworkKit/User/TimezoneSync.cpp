#include "TimezoneSync.h"

#include "Logging.h"
#include "UserAPI.h"

#include <QTimeZone>

namespace TimezoneSync {

QString storageKey(const std::optional<QString>& userId) {
    if (userId && !userId->isEmpty())
        return QStringLiteral("orbelo.syncedTimezone.") + *userId;
    return QStringLiteral("orbelo.syncedTimezone");
}

async::Task<void> syncIfNeeded(APIClient api, std::optional<QString> userId, PreferencesStore& defaults) {
    return syncIfNeeded(std::move(api), std::move(userId), defaults,
                        QString::fromUtf8(QTimeZone::systemTimeZoneId()));
}

async::Task<void> syncIfNeeded(APIClient api, std::optional<QString> userId, PreferencesStore& defaults,
                               QString timeZoneId) {
    if (timeZoneId.isEmpty())
        co_return;
    const QString key = storageKey(userId);
    if (defaults.string(key) == timeZoneId)
        co_return;
    const UserAPI user(std::move(api));
    try {
        co_await user.reportTimezone(timeZoneId);
        defaults.setValue(key, timeZoneId);
    } catch (const std::exception&) {
        qCInfo(lcNetwork, "Timezone sync deferred");
    }
}

} // namespace TimezoneSync
