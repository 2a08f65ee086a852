#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"

struct ServerContext;

// Courses: syllabus processing (a file as multipart, or recognised text as a queued
// "syllabus_text" job), typed class details, and study-plan generation.
class CourseRoutes {
public:
    static constexpr auto jobType = "syllabus_text";
    static constexpr qint64 maxSyllabusBytes = 5500000;
    static constexpr int minimumTextLength = 50;

    explicit CourseRoutes(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

private:
    friend class Routes; // calls the handlers

    ServerResponse processDocument(const ServerRequest& request, const QString& userId);
    ServerResponse processFile(const ServerRequest& request, const QString& userId);
    ServerResponse classInfo(const ServerRequest& request, const QString& userId);
    ServerResponse generateStudyPlan(const ServerRequest& request, const QString& userId);
    // Reads the text; committing creates the document and, when the text is a syllabus, its
    // course and plan. The result holds status ("success" or "not_syllabus"), message, course_id,
    // course_name, document_id, chunk_count, source and extracted_data.
    JobQueue::Outcome importSyllabus(const QString& userId, const QString& text, const QString& filename,
                                     const QString& fileType, const QString& source);

    ServerContext& context_;
};
