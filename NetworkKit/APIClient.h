#pragma once

#include "APIError.h"
#include "HttpMessage.h"
#include "Json.h"
#include "Task.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

// The backend client: JSON over HTTPS under one base URL, with the session token as bearer.
// A client is cheap to copy and fixed after construction; every call may run concurrently.
// Calls copy what they need, so a call outlives the client object it was made on.
class APIClient {
public:
    using TokenProvider = std::function<async::Task<std::optional<QString>>()>;

    struct MultipartField {
        QString name;
        QString value;
    };
    struct MultipartFile {
        QString name;
        QString filename;
        QString mimeType;
        QByteArray data;
    };

    static inline const QString authenticationFailureNotification =
        QStringLiteral("NetworkKit.apiClientAuthenticationFailure");
    static constexpr std::chrono::milliseconds requestTimeout{60'000};
    static constexpr std::chrono::milliseconds resourceTimeout{300'000};
    static constexpr std::chrono::milliseconds retryDelay{1'500};

    APIClient(QUrl baseURL, TokenProvider tokenProvider);

    const QUrl& baseURL() const { return baseURL_; }

    template <class T> async::Task<T> get(const QString& path) const {
        return decoded<T>(send(path, "GET", std::nullopt, jsonType()));
    }
    template <class T, class B> async::Task<T> post(const QString& path, const B& body) const {
        return decoded<T>(send(path, "POST", json::encode(body), jsonType()));
    }
    template <class T, class B> async::Task<T> put(const QString& path, const B& body) const {
        return decoded<T>(send(path, "PUT", json::encode(body), jsonType()));
    }
    template <class T, class B> async::Task<T> patch(const QString& path, const B& body) const {
        return decoded<T>(send(path, "PATCH", json::encode(body), jsonType()));
    }
    template <class T> async::Task<T> delete_(const QString& path) const {
        return decoded<T>(send(path, "DELETE", std::nullopt, jsonType()));
    }
    template <class T>
    async::Task<T> postMultipart(const QString& path, const QList<MultipartField>& fields,
                                 const MultipartFile& file) const {
        const QByteArray boundary = makeBoundary();
        return decoded<T>(send(path, "POST", multipartBody(boundary, fields, file),
                               "multipart/form-data; boundary=" + boundary));
    }
    template <class T>
    async::Task<T> postForm(const QString& path, const QList<QPair<QString, QString>>& fields) const {
        return decoded<T>(send(path, "POST", formBody(fields), "application/x-www-form-urlencoded"));
    }

    using UploadProgress = std::function<void(qint64 sent, qint64 total)>;

    // PUT of raw bytes to an absolute storage URL: no token, no Accept, no redirect rule, no retry.
    static async::Task<void> uploadToPresignedURL(QUrl url, QByteArray data, QString contentType);
    // The same PUT with the bytes streamed from `body` (open, at its start), so a large file never
    // sits in memory whole.
    static async::Task<void> uploadToPresignedURL(QUrl url, std::shared_ptr<QIODevice> body,
                                                  QString contentType, UploadProgress progress = {});

    // The core exchange: the 2xx body bytes, or APIError.
    async::Task<QByteArray> send(const QString& path, const QByteArray& method,
                                 std::optional<QByteArray> body, const QByteArray& contentType) const;

    // The URL for a path ("/api/x?limit=10") under the base URL, or nothing when none can be formed.
    static std::optional<QUrl> buildURL(const QUrl& baseURL, const QString& path);
    static QByteArray makeBoundary();
    static QByteArray multipartBody(const QByteArray& boundary, const QList<MultipartField>& fields,
                                    const MultipartFile& file);
    static QByteArray formBody(const QList<QPair<QString, QString>>& fields);
    // Percent-encodes everything but letters, digits and "-._~".
    static QByteArray formEncode(const QString& text);

private:
    static QByteArray jsonType() { return "application/json"; }

    template <class T> static async::Task<T> decoded(async::Task<QByteArray> exchange) {
        const QByteArray bytes = co_await std::move(exchange);
        try {
            co_return json::decode<T>(bytes);
        } catch (const json::DecodingError& e) {
            throw APIError::decoding(e);
        }
    }

    static async::Task<void> presignedPut(HttpRequest request, QString contentType);
    static async::Task<QByteArray> exchange(QUrl baseURL, TokenProvider tokenProvider, QString path,
                                            QByteArray method, std::optional<QByteArray> body,
                                            QByteArray contentType);

    QUrl baseURL_;
    TokenProvider tokenProvider_;
};
