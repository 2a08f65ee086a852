#include "HttpRequest.h"

#include <QJsonDocument>

QJsonObject HttpRequest::jsonBody() const {
    return QJsonDocument::fromJson(body).object();
}

QUrlQuery HttpRequest::formBody() const {
    // '+' means a space in form bodies; QUrlQuery only decodes percent escapes.
    QByteArray text = body;
    text.replace('+', "%20");
    return QUrlQuery(QString::fromUtf8(text));
}
