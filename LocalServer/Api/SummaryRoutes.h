#pragma once

#include "ApiAuth.h"
#include "JobQueue.h"
#include "Router.h"

struct ServerContext;

// Study notes of a document under /api/bookshelf: reading them, and generating them as a
// queued "summary" job.
class SummaryRoutes {
public:
    static constexpr auto jobType = "summary";

    explicit SummaryRoutes(ServerContext& context) : context_(context), auth_(context) {}

    void registerRoutes(Router& router);
    JobQueue::Runner runner();

private:
    ServerResponse read(const QString& documentId, const QString& userId);
    ServerResponse generate(const ServerRequest& request, const QString& userId);
    JobQueue::Outcome summarize(const JobQueue::Job& job);

    ServerContext& context_;
    ApiAuth auth_;
};
