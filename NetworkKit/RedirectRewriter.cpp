#include "RedirectRewriter.h"

QUrl RedirectRewriter::operator()(const QUrl& proposed) const {
    if (!proposed.isValid())
        return proposed;
    QUrl rewritten = proposed;
    rewritten.setScheme(baseURL_.scheme());
    rewritten.setHost(baseURL_.host());
    rewritten.setPort(baseURL_.port());
    return rewritten;
}
