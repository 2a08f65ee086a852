#include "APIError.h"

APIError::APIError(Kind kind, QString description)
    : kind_(kind), description_(std::move(description)), what_(description_.toUtf8()) {}

APIError APIError::server(int status, std::optional<QString> body, std::optional<int> retryAfterSeconds) {
    QString text = QStringLiteral("Request failed (%1).").arg(status);
    if (body)
        text += QLatin1Char(' ') + *body;
    APIError e(Kind::server, text);
    e.status_ = status;
    e.body_ = std::move(body);
    e.retryAfterSeconds_ = retryAfterSeconds;
    return e;
}

APIError APIError::decoding(const json::DecodingError& error) {
    return APIError(Kind::decoding,
                    QStringLiteral("Couldn't read the server response: ") + error.localizedDescription());
}

APIError APIError::transport(const URLError& error) {
    APIError e(Kind::transport, QStringLiteral("Network error: ") + error.localizedDescription());
    e.transportCode_ = error.code();
    return e;
}

APIError APIError::unauthorized() {
    return APIError(Kind::unauthorized, QStringLiteral("You are not signed in."));
}
