#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"

#include <QJsonObject>
#include <optional>

struct ServerContext;

// Study notes of a document under /api/bookshelf: reading them, and generating them as a
// queued "summary" job. A request with force_regenerate true makes new notes in place of the
// stored ones; without it, stored notes are the answer.
class SummaryRoutes {
public:
    static constexpr auto jobType = "summary";

    explicit SummaryRoutes(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

private:
    friend class Routes; // calls the handlers

    ServerResponse read(const QString& documentId, const QString& userId);
    ServerResponse generate(const ServerRequest& request, const QString& userId);
    JobQueue::Outcome summarize(const JobQueue::Job& job);
    std::optional<QJsonObject> storedSummary(const QString& documentId);

    ServerContext& context_;
};
