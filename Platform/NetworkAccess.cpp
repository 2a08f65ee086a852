#include "NetworkAccess.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace NetworkAccess {

QNetworkAccessManager& manager() {
    static QPointer<QNetworkAccessManager> instance;
    if (!instance) {
        instance = new QNetworkAccessManager(QCoreApplication::instance());
        // Redirects are followed by HttpTransfer, which may rewrite them.
        instance->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    return *instance;
}

} // namespace NetworkAccess
