#include "Http/TlsIdentity.h"

#include "Storage/PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstdio>

bool TlsIdentity::loadOrCreate(const QString& directory, QString* error) {
    certificatePath_ = QDir(directory).filePath("server-cert.pem");
    const QString keyPath = QDir(directory).filePath("server-key.pem");
    if (!QFile::exists(certificatePath_) || !QFile::exists(keyPath)) {
        // Made beside their places and renamed into them, so that a start cut short leaves no
        // half-written pair for the next one to read.
        const QString partialKey = keyPath + ".partial";
        const QString partialCertificate = certificatePath_ + ".partial";
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                  "-nodes", "-days", "3650", "-subj", "/CN=127.0.0.1", "-addext",
                                  "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout", partialKey, "-out",
                                  partialCertificate});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            *error = "openssl could not create the certificate: " +
                     QString::fromUtf8(openssl.readAllStandardError());
            return false;
        }
        // The key first: a key without its certificate is made afresh at the next start.
        if (std::rename(QFile::encodeName(partialKey).constData(), QFile::encodeName(keyPath).constData()) !=
                0 ||
            std::rename(QFile::encodeName(partialCertificate).constData(),
                        QFile::encodeName(certificatePath_).constData()) != 0) {
            *error = "cannot store the certificate and key in " + directory;
            return false;
        }
    }
    // At every start, not only the first: a key left readable by others is made private again.
    if (!PrivateFile::restrictFile(keyPath)) {
        *error = "cannot make the key " + keyPath + " private";
        return false;
    }
    QFile certificateFile(certificatePath_);
    QFile keyFile(keyPath);
    if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
        *error = "cannot read the certificate or key in " + directory;
        return false;
    }
    certificate_ = QSslCertificate(&certificateFile, QSsl::Pem);
    key_ = QSslKey(&keyFile, QSsl::Ec, QSsl::Pem);
    if (certificate_.isNull() || key_.isNull()) {
        *error = "the certificate or key in " + directory + " is unreadable";
        return false;
    }
    return true;
}
