#include "Library/DocumentProcessor.h"

#include "Courses/SyllabusAnalyzer.h"
#include "Documents/DocumentText.h"
#include "Feed/ConceptCards.h"
#include "Feed/FeedStore.h"
#include "Library/LibraryStore.h"
#include "Notifications/NotificationHub.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"
#include "Terms/TextChunker.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// "lecture" for slides and lecture notes, "book" for long texts, else "reading".
QString classify(const QString& fileType, const QString& filename, const QString& text) {
    if (fileType == "pptx" || filename.contains("lecture", Qt::CaseInsensitive) ||
        filename.contains("slides", Qt::CaseInsensitive))
        return "lecture";
    return text.size() > 150000 ? "book" : "reading";
}

// Tapping it opens the Library, where the document now has its notes.
NotificationStore::Draft notesReadyDraft(const QString& documentId, const QString& title,
                                         const QString& courseId) {
    NotificationStore::Draft draft;
    draft.type = NotificationHub::documentReady;
    draft.title = QStringLiteral("Your notes are ready");
    draft.message = QStringLiteral("The notes for “%1” are in your Library.").arg(title);
    draft.metadata.insert("document_id", documentId);
    if (!courseId.isEmpty())
        draft.metadata.insert("course_id", courseId);
    draft.eventKey = LibraryStore::notesReadyEvent(documentId);
    return draft;
}

QString titleFrom(const QString& filename) {
    QString title = QFileInfo(filename).completeBaseName();
    title.replace('_', ' ');
    return title.simplified();
}

} // namespace

JobQueue::Runner DocumentProcessor::runner() {
    return {[this](const JobQueue::Job& job) {
                LibraryStore(context_).setDocumentStatus(job.input.value("document_id").toString(),
                                                         "processing");
            },
            [this](const JobQueue::Job& job) { return process(job); },
            [this](const JobQueue::Job& job, const QString& error) {
                LibraryStore(context_).setDocumentStatus(job.input.value("document_id").toString(), "failed",
                                                         error);
            }};
}

JobQueue::Outcome DocumentProcessor::process(const JobQueue::Job& job) {
    const QString documentId = job.input.value("document_id").toString();
    const auto document = LibraryStore(context_).document(documentId, job.userId);
    if (!document)
        return JobQueue::Outcome::failure("The document was deleted.");
    const QString filename = document->value("filename").toString();
    const DocumentText extracted =
        DocumentText::extract(QDir(context_.storageDir()).filePath(document->value("s3_key").toString()),
                              filename, document->value("content_type").toString());
    if (!extracted.error.isEmpty()) {
        return JobQueue::Outcome::failure(extracted.error, [this, documentId, extracted] {
            LibraryStore library(context_);
            library.setFileType(documentId, extracted.fileType);
            library.setDocumentStatus(documentId, "failed", extracted.error);
        });
    }
    const int chunkCount = int(TextChunker::chunks(extracted.text).size());
    QString courseId = document->value("course_id").toString();
    QString documentType = classify(extracted.fileType, filename, extracted.text);
    QJsonObject result{{"document_id", documentId}, {"chunk_count", chunkCount}, {"source", "upload"}};
    if (extracted.truncated)
        result.insert("text_truncated", true);

    QJsonObject courseInfo;
    if (job.input.value("check_syllabus").toBool() && courseId.isEmpty()) {
        const SyllabusAnalyzer syllabus = SyllabusAnalyzer::analyze(extracted.text);
        if (syllabus.isSyllabus) {
            documentType = "syllabus";
            courseInfo = syllabus.classInfo();
            if (!courseInfo.contains("class_title"))
                courseInfo.insert("class_title", titleFrom(filename));
            courseId = RandomId::make("course");
            result.insert("status", "success");
            result.insert("message", "Created the course from the syllabus.");
            result.insert("course_id", courseId);
            result.insert("course_name", courseInfo.value("class_title").toString());
        } else {
            result.insert("status", "not_syllabus");
            result.insert("message",
                          "The document does not look like a syllabus; it was added to your library.");
        }
    } else {
        result.insert("status", "ready");
    }
    const QString title = extracted.title.isEmpty() ? titleFrom(filename) : extracted.title;
    // Read here, off the request path, so that the first For You feed does not wait for it.
    const QList<ConceptCards::Draft> feedConcepts = ConceptCards::drafts(extracted.text);
    // Recorded with the document's new state, announced once that is committed.
    auto notesReady = std::make_shared<std::optional<QJsonObject>>();
    return JobQueue::Outcome::success(
        result,
        [this, job, documentId, extracted, chunkCount, documentType, title, courseId, courseInfo,
         feedConcepts, notesReady] {
            LibraryStore library(context_);
            if (!courseInfo.isEmpty()) {
                library.createCourse(job.userId, courseInfo, documentId, courseId);
                library.buildStudyPlan(courseId);
            }
            library.markReady(documentId,
                              {{"text", extracted.text},
                               {"chunk_count", chunkCount},
                               {"file_type", extracted.fileType},
                               {"document_type", documentType},
                               {"title", title},
                               {"course_id", courseId.isEmpty() ? QVariant() : QVariant(courseId)}});
            FeedStore(context_).keepDrafts(documentId, job.userId, feedConcepts);
            *notesReady =
                context_.notifications->record(job.userId, notesReadyDraft(documentId, title, courseId));
        },
        [this, job, notesReady] {
            if (*notesReady)
                context_.notifications->announce(job.userId, **notesReady);
        });
}
