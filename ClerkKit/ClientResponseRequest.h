#pragma once

#include "ClerkAPIClient.h"
#include "ClientResponse.h"

// The resource of a Frontend API answer in the client envelope; the pipeline has applied the
// envelope's client by the time it returns. Takes copies, so it may outlive its caller's object.
template <class T>
async::Task<T> requestResource(ClerkAPIClient api, QByteArray method, QString path,
                               std::optional<QJsonObject> body = std::nullopt,
                               ClerkAPIClient::QueryItems query = {}) {
    const ClientResponse<T> answer = co_await api.request<ClientResponse<T>>(
        std::move(method), std::move(path), std::move(body), std::move(query));
    co_return answer.response;
}

// The form body of a request's parameters: their members in snake case, absent ones left out.
template <class Params> QJsonObject formOf(const Params& params) {
    return json::encodeValue(params).toObject();
}
