#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

// Case-insensitive header lookup; the first match wins.
std::optional<QByteArray> findHeader(const HttpHeaders& headers, const QByteArray& name);
// Replaces every header of that name with one of the given value.
void setHeader(HttpHeaders& headers, const QByteArray& name, const QByteArray& value);

struct HttpRequest {
    QUrl url;
    QByteArray method = "GET";
    HttpHeaders headers;
    std::optional<QByteArray> body;
    // A body read from the device as it goes out, in place of `body`: open and at its start.
    // Qt's reply may read it until the reply itself is gone, after the exchange, so it is shared.
    std::shared_ptr<QIODevice> bodyDevice;
    // Called as the body goes out with the bytes sent so far and the total.
    std::function<void(qint64 sent, qint64 total)> onUploadProgress;
    // Longest silence allowed while the exchange is under way, and longest exchange overall.
    std::chrono::milliseconds timeout{60'000};
    std::chrono::milliseconds resourceTimeout{300'000};
};

struct HttpResponse {
    int status = 0;
    QUrl url;
    HttpHeaders headers;
    QByteArray body;

    std::optional<QByteArray> header(const QByteArray& name) const { return findHeader(headers, name); }
};
