#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"
#include "Reading/GuidedReadingStore.h"
#include "Reading/ReadingGuideWriter.h"

#include <optional>

struct ServerContext;

// Reading guides under /api/guided-reading/{course id}: the stored plan of a style
// (GET …/plan?template_type=…[&document_id=…]) and a new one written from the text, replacing it
// (POST …/regenerate with the same query). A guide is for the whole course, or for one of its
// documents (its own or the syllabus it was made from). Courses with much text are written by a
// queued "guided_reading" job whose result is the plan; the others inline.
class GuidedReadingRoutes {
public:
    static constexpr auto jobType = "guided_reading";
    // Above this many characters of text, a guide is a queued job (about 50 pages).
    static constexpr qsizetype inlineTextLimit = 200'000;

    explicit GuidedReadingRoutes(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

private:
    friend class Routes; // calls the handlers

    // What a request names once checked: the stored plan's key and the guide's titles; or why not.
    struct Target {
        GuidedReadingStore::Key key;
        ReadingStyle style;
        QString chapterTitle;
        QString bookTitle;
        std::optional<ServerResponse> refusal;
    };
    struct Sources {
        QList<ReadingGuideWriter::Source> documents;
        qsizetype chars = 0;
        bool processing = false; // the chosen document is not ready yet
    };

    Target target(const QString& userId, const QString& courseId, const QString& templateType,
                  const QString& documentId);
    Sources sources(const GuidedReadingStore::Key& key);
    // The GuidedReadingPlan for a new template, keeping the plan's id and first date if there was one.
    QJsonObject planJson(const Target& target, const Sources& sources);

    ServerResponse plan(const ServerRequest& request, const QString& userId);
    ServerResponse regenerate(const ServerRequest& request, const QString& userId);
    JobQueue::Outcome regenerateQueued(const JobQueue::Job& job);

    ServerContext& context_;
};
