#include "ServerContext.h"

#include "Auth/MailboxStore.h"
#include "Auth/TokenSigner.h"
#include "LogText.h"

#include <QDateTime>
#include <QDir>
#include <QLoggingCategory>
#include <QMessageAuthenticationCode>
#include <QTimeZone>

Q_LOGGING_CATEGORY(lcMail, "orbelo.server.mail")

ServerContext::ServerContext() = default;
ServerContext::~ServerContext() = default;

QString ServerContext::isoNow() const {
    return QDateTime::fromMSecsSinceEpoch(nowMs(), Qt::UTC).toString(Qt::ISODateWithMs);
}

QString ServerContext::sign(const QByteArray& data) const {
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(data, secret, QCryptographicHash::Sha256).toHex());
}

QString ServerContext::storageDir() const {
    return QDir(options.dataDir).filePath("storage");
}

QString ServerContext::mediaDir() const {
    return QDir(options.dataDir).filePath("media");
}

void ServerContext::deliverMail(const QString& recipient, const QString& subject, const QString& body) {
    if (options.demo)
        MailboxStore(db).keep({recipient, subject, body, nowMs()});
    qCInfo(lcMail).noquote() << "to" << LogText::clean(recipient) << "|" << LogText::clean(subject) << "|"
                             << LogText::clean(body);
}
