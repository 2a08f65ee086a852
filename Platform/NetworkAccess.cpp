#include "NetworkAccess.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace NetworkAccess {

namespace {
QPointer<QNetworkAccessManager> instance;

// Closes the kept-alive connections while the application object is still whole: a TLS
// connection left to the manager's own teardown at exit can outlive its thread.
void shutDown() {
    if (instance) {
        instance->clearConnectionCache();
        delete instance.data();
    }
}
} // namespace

QNetworkAccessManager& manager() {
    if (!instance) {
        instance = new QNetworkAccessManager();
        // Redirects are followed by HttpTransfer, which may rewrite them.
        instance->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        qAddPostRoutine(shutDown);
    }
    return *instance;
}

} // namespace NetworkAccess
