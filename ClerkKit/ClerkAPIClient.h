#pragma once

#include "ClerkNetworkingPipeline.h"
#include "Json.h"

#include <QJsonObject>
#include <QUrl>

#include <memory>

// Frontend API calls under one base URL, through the pipeline. Cheap to copy; a call keeps what it
// needs, so it may outlive the client object it was made on.
class ClerkAPIClient {
public:
    using QueryItems = QList<QPair<QString, QString>>;

    ClerkAPIClient(QUrl baseURL, std::shared_ptr<ClerkNetworkingPipeline> pipeline)
        : baseURL_(std::move(baseURL)), pipeline_(std::move(pipeline)) {}

    const QUrl& baseURL() const { return baseURL_; }

    // A JSON object body goes out form-encoded (the pipeline's form encoder converts it).
    async::Task<HttpResponse> send(QByteArray method, QString path, std::optional<QJsonObject> body = {},
                                   QueryItems query = {}) const;

    template <class T>
    async::Task<T> request(QByteArray method, QString path, std::optional<QJsonObject> body = {},
                           QueryItems query = {}) const {
        return decoded<T>(send(std::move(method), std::move(path), std::move(body), std::move(query)));
    }

    // The request as the pipeline receives it, before any middleware.
    HttpRequest makeRequest(const QByteArray& method, const QString& path,
                            const std::optional<QJsonObject>& body, const QueryItems& query) const;

private:
    template <class T> static async::Task<T> decoded(async::Task<HttpResponse> exchange) {
        const HttpResponse response = co_await std::move(exchange);
        co_return json::decode<T>(response.body);
    }

    QUrl baseURL_;
    std::shared_ptr<ClerkNetworkingPipeline> pipeline_;
};
