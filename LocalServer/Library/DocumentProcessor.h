#pragma once

#include "Jobs/JobQueue.h"

struct ServerContext;

// The "document_processing" job: reads the uploaded file's text, counts its chunks, classifies
// it, and for uploads without a course checks it for a syllabus and creates the course.
class DocumentProcessor {
public:
    static constexpr auto jobType = "document_processing";

    explicit DocumentProcessor(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

private:
    JobQueue::Outcome process(const JobQueue::Job& job);

    ServerContext& context_;
};
