#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

// Where the push stream is and how to get in: the server's origin ("https://host:port"), the
// extra certificate to trust for it, and the device token.
struct PushEndpoint {
    QString origin;
    QString certificatePem;
    QString token;

    // wss://host:port/api/mobile/push/stream?after=<after>
    QUrl streamUrl(qint64 after) const;
    // The system's CAs plus the extra certificate.
    QList<QSslCertificate> trustedCertificates() const;

    // Why `origin` or `certificatePem` cannot be used, or "" when both can.
    static QString problemWith(const QString& origin, const QString& certificatePem);
};
