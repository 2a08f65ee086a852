#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The document library: presigned direct upload (initiate, PUT under /storage, complete),
// deletion, the processing state of a document, and the status of queued jobs.
class LibraryRoutes {
public:
    static constexpr int uploadUrlLifetimeSeconds = 900;
    static constexpr qint64 maxUploadBytes = 64LL * 1024 * 1024;

    explicit LibraryRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse initiate(const ServerRequest& request, const QString& userId);
    ServerResponse store(const ServerRequest& request);
    ServerResponse complete(const ServerRequest& request, const QString& userId);
    ServerResponse remove(const QString& documentId, const QString& userId);
    ServerResponse processingStatus(const QString& documentId, const QString& userId);
    ServerResponse job(const QString& jobId, const QString& userId);

    ServerContext& context_;
};
