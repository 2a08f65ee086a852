#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// The server's self-signed certificate and key, created with openssl on first run and kept in
// the data dir so that clients can trust exactly this certificate.
class TlsIdentity {
public:
    // Loads the pair from `directory`, creating it first when absent; false with a message in
    // `error` when that fails.
    bool loadOrCreate(const QString& directory, QString* error);

    QSslCertificate certificate() const { return certificate_; }
    QSslKey key() const { return key_; }
    QString certificatePath() const { return certificatePath_; }

private:
    QSslCertificate certificate_;
    QSslKey key_;
    QString certificatePath_;
};
