#include "HttpMessage.h"

std::optional<QByteArray> findHeader(const HttpHeaders& headers, const QByteArray& name) {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

void setHeader(HttpHeaders& headers, const QByteArray& name, const QByteArray& value) {
    headers.removeIf([&](const auto& h) { return h.first.compare(name, Qt::CaseInsensitive) == 0; });
    headers.append({name, value});
}
