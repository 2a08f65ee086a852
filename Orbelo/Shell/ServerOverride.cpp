#include "Shell/ServerOverride.h"

#include "AppInfo.h"

#include <QUrl>

namespace ServerOverride {

std::optional<AppInfo::Values> serverValues(const QString& origin, QString* error) {
    const QUrl url(origin, QUrl::StrictMode);
    const auto fail = [&](const QString& reason) {
        *error = QStringLiteral("not a server address: %1 (%2)").arg(origin, reason);
        return std::nullopt;
    };
    // The auth client always reaches the Frontend API over https, at the address the key encodes.
    if (!url.isValid() || url.scheme() != QLatin1String("https"))
        return fail(QStringLiteral("expected https://host:port"));
    if (url.host().isEmpty())
        return fail(QStringLiteral("no host"));
    if (!url.userInfo().isEmpty() || (!url.path().isEmpty() && url.path() != QLatin1String("/")) ||
        url.hasQuery() || url.hasFragment())
        return fail(QStringLiteral("expected only a scheme, a host and a port"));

    const QString authority = url.authority(QUrl::FullyEncoded);
    const QString base = QStringLiteral("https://") + authority;
    const QByteArray encoded = (authority + QLatin1Char('$'))
                                   .toUtf8()
                                   .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    AppInfo::Values values;
    values.apiBaseUrl = base;
    values.publishableKey = QStringLiteral("pk_test_") + QString::fromLatin1(encoded);
    values.appcastUrl = base + QStringLiteral("/appcast.json");
    return values;
}

bool apply(const QString& origin, QString* error) {
    const std::optional<AppInfo::Values> values = serverValues(origin, error);
    if (!values)
        return false;
    AppInfo::replace(*values);
    return true;
}

} // namespace ServerOverride
