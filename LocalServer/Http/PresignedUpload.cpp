#include "Http/PresignedUpload.h"

#include "ServerContext.h"

#include <QUrlQuery>

namespace {

QByteArray signingInput(const QByteArray& purpose, const QString& key, qint64 expires) {
    return purpose + '\n' + key.toUtf8() + '\n' + QByteArray::number(expires);
}

} // namespace

QUrl PresignedUpload::url(const ServerContext& context, const QString& path, const QByteArray& purpose,
                          const QString& key, int lifetimeSeconds) {
    const qint64 expires = context.nowSeconds() + lifetimeSeconds;
    QUrl url(context.baseUrl + path + key);
    url.setQuery(QUrlQuery{{"expires", QString::number(expires)},
                           {"signature", context.sign(signingInput(purpose, key, expires))}});
    return url;
}

std::optional<ServerResponse> PresignedUpload::refusal(const ServerContext& context,
                                                       const QByteArray& purpose, const QString& key,
                                                       const ServerRequest& request) {
    const qint64 expires = request.query.queryItemValue("expires").toLongLong();
    const QString signature = request.query.queryItemValue("signature");
    const QString expected = context.sign(signingInput(purpose, key, expires));
    // Compared in constant time, so that the time taken tells nothing about the right signature.
    unsigned char difference = signature.size() == expected.size() ? 0 : 1;
    for (qsizetype i = 0; i < qMin(signature.size(), expected.size()); ++i)
        difference |= static_cast<unsigned char>(signature[i].unicode() ^ expected[i].unicode());
    if (difference != 0)
        return error(403, "SignatureDoesNotMatch", "The request signature does not match.");
    if (context.nowSeconds() > expires)
        return error(403, "AccessDenied", "Request has expired");
    return std::nullopt;
}

ServerResponse PresignedUpload::error(int status, const QString& code, const QString& message) {
    return ServerResponse::bytes(
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Error><Code>%1</Code><Message>%2</Message></Error>")
            .arg(code, message.toHtmlEscaped())
            .toUtf8(),
        "application/xml", status);
}
