#include "PushEndpoint.h"

#include <QSslConfiguration>
#include <QUrlQuery>

QUrl PushEndpoint::streamUrl(qint64 after) const {
    QUrl url(origin);
    url.setScheme(QStringLiteral("wss"));
    url.setPath(QStringLiteral("/api/mobile/push/stream"));
    url.setQuery(QUrlQuery{{QStringLiteral("after"), QString::number(after)}});
    return url;
}

QList<QSslCertificate> PushEndpoint::trustedCertificates() const {
    QList<QSslCertificate> certificates = QSslConfiguration::systemCaCertificates();
    certificates += QSslCertificate::fromData(certificatePem.toUtf8(), QSsl::Pem);
    return certificates;
}

QString PushEndpoint::problemWith(const QString& origin, const QString& certificatePem) {
    const QUrl url(origin, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty() ||
        !(url.path().isEmpty() || url.path() == QLatin1String("/")) || url.hasQuery() || url.hasFragment() ||
        !url.userInfo().isEmpty())
        return QStringLiteral("the origin must be https://host[:port]");
    if (!certificatePem.isEmpty() && QSslCertificate::fromData(certificatePem.toUtf8(), QSsl::Pem).isEmpty())
        return QStringLiteral("the certificate is not a PEM certificate");
    return {};
}
