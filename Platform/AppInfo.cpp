#include "AppInfo.h"

#include "AppInfoValues.h"

namespace AppInfo {

namespace {
Values& current() {
    static Values values = {
        QString::fromUtf8(AppInfoValues::version),    QString::fromUtf8(AppInfoValues::buildNumber),
        QString::fromUtf8(AppInfoValues::apiBaseUrl), QString::fromUtf8(AppInfoValues::publishableKey),
        QString::fromUtf8(AppInfoValues::appcastUrl),
    };
    return values;
}
} // namespace

QString appId() {
    return QString::fromUtf8(AppInfoValues::appId);
}

QString version() {
    return current().version.value_or(QString());
}

QString buildNumber() {
    return current().buildNumber.value_or(QString());
}

QString apiBaseUrl() {
    return current().apiBaseUrl.value_or(QString());
}

QString publishableKey() {
    return current().publishableKey.value_or(QString());
}

QString appcastUrl() {
    return current().appcastUrl.value_or(QString());
}

void replace(const Values& values) {
    Values& now = current();
    for (auto [field, value] : {std::pair{&now.version, &values.version},
                                {&now.buildNumber, &values.buildNumber},
                                {&now.apiBaseUrl, &values.apiBaseUrl},
                                {&now.publishableKey, &values.publishableKey},
                                {&now.appcastUrl, &values.appcastUrl}})
        if (*value)
            *field = *value;
}

} // namespace AppInfo
