#include "ClerkAPIClient.h"

#include "URLEncodedForm.h"

HttpRequest ClerkAPIClient::makeRequest(const QByteArray& method, const QString& path,
                                        const std::optional<QJsonObject>& body,
                                        const QueryItems& query) const {
    HttpRequest request;
    QUrl url = baseURL_;
    url.setPath(baseURL_.path() + path);
    if (!query.isEmpty()) {
        // Escaped like form values: QUrlQuery would leave "+", which servers read as a space.
        QByteArray encoded;
        for (const auto& [name, value] : query) {
            if (!encoded.isEmpty())
                encoded += '&';
            encoded += URLEncodedForm::escape(name) + '=' + URLEncodedForm::escape(value);
        }
        url.setQuery(QString::fromLatin1(encoded), QUrl::StrictMode);
    }
    request.url = url;
    request.method = method;
    if (body)
        request.body = json::serialize(*body);
    setHeader(request.headers, "Content-Type", "application/x-www-form-urlencoded");
    setHeader(request.headers, "clerk-api-version", "2025-11-10");
    setHeader(request.headers, "x-ios-sdk-version", "1.2.1");
    setHeader(request.headers, "x-mobile", "1");
    return request;
}

async::Task<HttpResponse> ClerkAPIClient::send(QByteArray method, QString path,
                                               std::optional<QJsonObject> body, QueryItems query) const {
    return ClerkNetworkingPipeline::perform(pipeline_, makeRequest(method, path, body, query));
}
