#include "ClerkURLEncodedFormEncoderMiddleware.h"

#include "URLEncodedForm.h"

#include <QJsonDocument>
#include <QJsonObject>

async::Task<void> ClerkURLEncodedFormEncoderMiddleware::prepare(ClerkRequest& request) {
    const auto contentType = findHeader(request.http.headers, "Content-Type");
    if (!request.http.body || !contentType || !contentType->startsWith("application/x-www-form-urlencoded"))
        co_return;
    const QJsonDocument document = QJsonDocument::fromJson(*request.http.body);
    if (document.isObject())
        request.http.body = URLEncodedForm::encode(document.object());
}
