#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <QUrl>
#include <optional>

struct ServerContext;

// Links that let a client PUT one file without a bearer token, as to S3: the storage key and an
// expiry, signed with the server secret. The purpose is signed too, so that a link made for one
// kind of upload opens no other.
class PresignedUpload {
public:
    // `path` is where the PUT route lives, ending in a slash ("/storage/").
    static QUrl url(const ServerContext& context, const QString& path, const QByteArray& purpose,
                    const QString& key, int lifetimeSeconds);
    // The storage error for a PUT whose signature is wrong or whose link has expired; nothing
    // when the upload may go ahead.
    static std::optional<ServerResponse> refusal(const ServerContext& context, const QByteArray& purpose,
                                                 const QString& key, const ServerRequest& request);
    // An S3-style XML error.
    static ServerResponse error(int status, const QString& code, const QString& message);
};
