#include "DesktopUrlOpener.h"

#include "UrlSchemeHandlers.h"

#include <QDesktopServices>

bool DesktopUrlOpener::canOpen(const QString& scheme) const {
    return !UrlSchemeHandlers(UrlSchemeHandlers::Directories::fromEnvironment()).handlers(scheme).isEmpty();
}

bool DesktopUrlOpener::open(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
