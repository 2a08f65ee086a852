#include "APIClient.h"

#include "AuthenticationFailures.h"
#include "Clock.h"
#include "HttpTransfer.h"
#include "RedirectRewriter.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QUuid>

#include <cctype>
#include <cstring>

namespace {

bool isTransient(URLError::Code code) {
    switch (code) {
    case URLError::Code::timedOut:
    case URLError::Code::networkConnectionLost:
    case URLError::Code::cannotConnectToHost:
    case URLError::Code::cannotFindHost:
        return true;
    default:
        return false;
    }
}

// Retry-After in whole seconds; its date form is not used by this backend.
std::optional<int> retryAfterSeconds(const std::optional<QByteArray>& value) {
    bool ok = false;
    const int seconds = value ? value->trimmed().toInt(&ok) : 0;
    return ok && seconds >= 0 ? std::optional<int>(seconds) : std::nullopt;
}

std::optional<QString> utf8Text(const QByteArray& bytes) {
    if (!QByteArrayView(bytes).isValidUtf8())
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

// Letters, digits, "-._~", the given delimiters and well-formed %XX escapes only.
bool isPercentEncoded(const QString& text, const char* delimiters) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() > 0x7e)
            return false;
        const char a = char(c.unicode());
        if (std::isalnum(static_cast<unsigned char>(a)) || std::strchr("-._~", a) ||
            std::strchr(delimiters, a))
            continue;
        if (a == '%' && i + 2 < text.size() && text[i + 1].unicode() < 0x80 && text[i + 2].unicode() < 0x80 &&
            std::isxdigit(text[i + 1].unicode()) && std::isxdigit(text[i + 2].unicode())) {
            i += 2;
            continue;
        }
        return false;
    }
    return true;
}

} // namespace

APIClient::APIClient(QUrl baseURL, TokenProvider tokenProvider)
    : baseURL_(std::move(baseURL)), tokenProvider_(std::move(tokenProvider)) {}

std::optional<QUrl> APIClient::buildURL(const QUrl& baseURL, const QString& path) {
    if (!baseURL.isValid())
        return std::nullopt;
    const qsizetype mark = path.indexOf(QLatin1Char('?'));
    const QString pathPart = mark < 0 ? path : path.left(mark);
    const QString query = mark < 0 ? QString() : path.mid(mark + 1);
    // The caller's text is already percent-encoded and goes out as it is.
    if (!isPercentEncoded(pathPart, "/:@!$&'()*+,;=") || !isPercentEncoded(query, "/:@!$&'()*+,;=?"))
        return std::nullopt;
    QUrl url = baseURL;
    url.setPath(baseURL.path(QUrl::FullyEncoded) + pathPart, QUrl::StrictMode);
    url.setQuery(mark < 0 ? QString() : query, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

async::Task<QByteArray> APIClient::send(const QString& path, const QByteArray& method,
                                        std::optional<QByteArray> body, const QByteArray& contentType) const {
    return exchange(baseURL_, tokenProvider_, path, method, std::move(body), contentType);
}

async::Task<QByteArray> APIClient::exchange(QUrl baseURL, TokenProvider tokenProvider, QString path,
                                            QByteArray method, std::optional<QByteArray> body,
                                            QByteArray contentType) {
    const auto url = buildURL(baseURL, path);
    if (!url)
        throw APIError::server(-1, QStringLiteral("invalid path: ") + path);

    HttpRequest request;
    request.url = *url;
    request.method = method;
    request.body = std::move(body);
    request.timeout = requestTimeout;
    request.resourceTimeout = resourceTimeout;
    setHeader(request.headers, "Content-Type", contentType);
    setHeader(request.headers, "Accept", "application/json");

    std::optional<QString> token;
    if (tokenProvider) {
        try {
            token = co_await tokenProvider();
        } catch (...) {
            AuthenticationFailures::report();
            throw;
        }
    }
    if (token && !token->isEmpty())
        setHeader(request.headers, "Authorization", "Bearer " + token->toUtf8());

    const int attempts = method == "GET" ? 2 : 1;
    for (int attempt = 1;; ++attempt) {
        std::optional<HttpResponse> response;
        try {
            response = co_await HttpTransfer::send(request, RedirectRewriter(baseURL));
        } catch (const URLError& e) {
            if (attempt >= attempts || !isTransient(e.code()))
                throw APIError::transport(e);
        }
        if (!response) {
            co_await async::Clock::current().sleep(retryDelay);
            continue;
        }

        const int status = response->status;
        if (status >= 200 && status <= 299)
            co_return response->body;
        if (status == 401) {
            AuthenticationFailures::report();
            throw APIError::unauthorized();
        }
        if ((status == 502 || status == 503 || status == 504) && attempt < attempts) {
            co_await async::Clock::current().sleep(retryDelay);
            continue;
        }
        throw APIError::server(status, utf8Text(response->body),
                               retryAfterSeconds(response->header("Retry-After")));
    }
}

async::Task<void> APIClient::uploadToPresignedURL(QUrl url, QByteArray data, QString contentType) {
    HttpRequest request;
    request.url = std::move(url);
    request.body = std::move(data);
    return presignedPut(std::move(request), std::move(contentType));
}

async::Task<void> APIClient::uploadToPresignedURL(QUrl url, std::shared_ptr<QIODevice> body,
                                                  QString contentType, UploadProgress progress) {
    HttpRequest request;
    request.url = std::move(url);
    setHeader(request.headers, "Content-Length", QByteArray::number(body->size()));
    request.bodyDevice = std::move(body);
    request.onUploadProgress = std::move(progress);
    return presignedPut(std::move(request), std::move(contentType));
}

async::Task<void> APIClient::presignedPut(HttpRequest request, QString contentType) {
    request.method = "PUT";
    request.timeout = requestTimeout;
    request.resourceTimeout = resourceTimeout;
    setHeader(request.headers, "Content-Type", contentType.toUtf8());
    HttpResponse response;
    try {
        response = co_await HttpTransfer::send(std::move(request));
    } catch (const URLError& e) {
        throw APIError::transport(e);
    }
    if (response.status < 200 || response.status > 299)
        throw APIError::server(response.status, QStringLiteral("S3 PUT failed"));
}

QByteArray APIClient::makeBoundary() {
    return "----OBBoundary-" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper();
}

QByteArray APIClient::multipartBody(const QByteArray& boundary, const QList<MultipartField>& fields,
                                    const MultipartFile& file) {
    static const QByteArray crlf = "\r\n";
    QByteArray body;
    for (const auto& field : fields) {
        body += "--" + boundary + crlf;
        body += "Content-Disposition: form-data; name=\"" + field.name.toUtf8() + "\"" + crlf + crlf;
        body += field.value.toUtf8() + crlf;
    }
    body += "--" + boundary + crlf;
    body += "Content-Disposition: form-data; name=\"" + file.name.toUtf8() + "\"; filename=\"" +
            file.filename.toUtf8() + "\"" + crlf;
    body += "Content-Type: " + file.mimeType.toUtf8() + crlf + crlf;
    body += file.data + crlf;
    body += "--" + boundary + "--" + crlf;
    return body;
}

QByteArray APIClient::formEncode(const QString& text) {
    // Qt leaves exactly letters, digits and "-._~" unencoded.
    return text.toUtf8().toPercentEncoding();
}

QByteArray APIClient::formBody(const QList<QPair<QString, QString>>& fields) {
    QByteArrayList pairs;
    for (const auto& [key, value] : fields)
        pairs << formEncode(key) + '=' + formEncode(value);
    return pairs.join('&');
}
