#include "URLError.h"

namespace {
QString describe(URLError::Code code, const QString& detail) {
    switch (code) {
    case URLError::Code::timedOut:
        return QStringLiteral("The request timed out.");
    case URLError::Code::networkConnectionLost:
        return QStringLiteral("The network connection was lost.");
    case URLError::Code::cannotConnectToHost:
        return QStringLiteral("Could not connect to the server.");
    case URLError::Code::cannotFindHost:
        return QStringLiteral("A server with the specified hostname could not be found.");
    case URLError::Code::notConnectedToInternet:
        return QStringLiteral("The Internet connection appears to be offline.");
    case URLError::Code::secureConnectionFailed:
        return QStringLiteral(
            "An SSL error has occurred and a secure connection to the server cannot be made.");
    case URLError::Code::httpTooManyRedirects:
        return QStringLiteral("Too many HTTP redirects.");
    case URLError::Code::cancelled:
        return QStringLiteral("cancelled");
    case URLError::Code::unknown:
        break;
    }
    return detail.isEmpty() ? QStringLiteral("An unknown error occurred.") : detail;
}
} // namespace

URLError::URLError(Code code, QString detail)
    : code_(code), description_(describe(code, detail)), what_(description_.toUtf8()) {}

URLError URLError::fromReply(QNetworkReply::NetworkError error, const QString& errorString) {
    switch (error) {
    case QNetworkReply::TimeoutError:
        return URLError(Code::timedOut);
    case QNetworkReply::RemoteHostClosedError:
        return URLError(Code::networkConnectionLost);
    case QNetworkReply::ConnectionRefusedError:
        return URLError(Code::cannotConnectToHost);
    // Qt reports a name that does not resolve and a resolver that fails alike.
    case QNetworkReply::HostNotFoundError:
        return URLError(Code::cannotFindHost);
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
        return URLError(Code::notConnectedToInternet);
    case QNetworkReply::SslHandshakeFailedError:
        return URLError(Code::secureConnectionFailed);
    case QNetworkReply::TooManyRedirectsError:
        return URLError(Code::httpTooManyRedirects);
    case QNetworkReply::OperationCanceledError:
        return URLError(Code::cancelled);
    default:
        return URLError(Code::unknown, errorString);
    }
}
