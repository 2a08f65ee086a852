#pragma once

#include "DecodingError.h"
#include "URLError.h"

#include <QString>

#include <exception>
#include <optional>

// The one error of the backend client, with its user-facing description.
class APIError : public std::exception {
public:
    enum class Kind { server, decoding, transport, unauthorized };

    // `retryAfterSeconds`: the answer's Retry-After, when it gave one in seconds.
    static APIError server(int status, std::optional<QString> body,
                           std::optional<int> retryAfterSeconds = {});
    static APIError decoding(const json::DecodingError& error);
    static APIError transport(const URLError& error);
    static APIError unauthorized();

    Kind kind() const { return kind_; }
    // server: the HTTP status (-1 when none was usable) and the body text, if any.
    int status() const { return status_; }
    const std::optional<QString>& body() const { return body_; }
    std::optional<int> retryAfterSeconds() const { return retryAfterSeconds_; }
    // transport: the URL-loading error code.
    std::optional<URLError::Code> transportCode() const { return transportCode_; }

    QString errorDescription() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    APIError(Kind kind, QString description);

    Kind kind_;
    int status_ = 0;
    std::optional<QString> body_;
    std::optional<int> retryAfterSeconds_;
    std::optional<URLError::Code> transportCode_;
    QString description_;
    QByteArray what_;
};
