#include "Http/ServerRequest.h"

#include <QJsonDocument>

QJsonObject ServerRequest::jsonBody() const {
    return QJsonDocument::fromJson(body).object();
}

QUrlQuery ServerRequest::formBody() const {
    // '+' means a space in form bodies; QUrlQuery only decodes percent escapes.
    QByteArray text = body;
    text.replace('+', "%20");
    return QUrlQuery(QString::fromUtf8(text));
}
