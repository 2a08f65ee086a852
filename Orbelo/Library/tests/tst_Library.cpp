#include <QtTest>

#include "APIClient.h"
#include "Common/AppContext.h"
#include "Library/DocumentUpload.h"
#include "Library/DocumentsModel.h"
#include "Library/ProcessingWatch.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

QByteArray document(const QString& id, const QString& title, const QString& filename, const QString& status,
                    const QString& courseId = {}) {
    QJsonObject object{{"id", id}, {"title", title}, {"filename", filename}, {"status", status}};
    if (!courseId.isEmpty())
        object["course_id"] = courseId;
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The backend and the storage on one scripted server: the bootstrap answers with `documents`,
// the upload steps with the presigned URL given, and every request is recorded.
struct Backend {
    ScriptedHttpServer server;
    QByteArrayList documents;
    QByteArray courses =
        R"([{"course_id":"c1","course_name":"Biology"},{"course_id":"c2","course_name":"History"}])";
    QString presignedURL;
    int bootstrapStatus = 200;
    int putStatus = 200;
    bool holdPut = false;
    int deleteStatus = 200;
    int completeStatus = 200;
    QByteArray completion = R"({"status":"processing","document_id":"d-new"})";

    Backend() {
        presignedURL = storageURL("/storage/u1/d-new?sig=abc");
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) const {
        if (r.path == "/api/bootstrap") {
            return ScriptedResponse::json(bootstrapStatus, "{\"courses\":" + courses + ",\"documents\":[" +
                                                               documents.join(',') + "]}");
        }
        if (r.path == "/api/v2/uploads/document/initiate") {
            const QJsonObject body{{"presigned_url", presignedURL},
                                   {"document_id", "d-new"},
                                   {"s3_key", "uploads/u1/d-new"},
                                   {"expires_in", 900}};
            return ScriptedResponse::json(200, QJsonDocument(body).toJson());
        }
        if (r.path.startsWith("/storage/")) {
            const ScriptedResponse stored = ScriptedResponse::json(putStatus, "");
            return holdPut ? ScriptedResponse::held(stored) : stored;
        }
        if (r.path == "/api/v2/uploads/document/complete")
            return ScriptedResponse::json(completeStatus, completion);
        if (r.method == "DELETE")
            return ScriptedResponse::json(deleteStatus, R"({"status":"deleted"})");
        return ScriptedResponse::json(404, "{}");
    }

    QString storageURL(const QString& path) const { return server.baseUrl().resolved(QUrl(path)).toString(); }
    APIClient client() const { return scriptedClient(server); }
    QList<RecordedRequest> requestsTo(const QByteArray& pathStart) const {
        QList<RecordedRequest> found;
        for (const RecordedRequest& r : server.requests()) {
            if (r.path.startsWith(pathStart))
                found << r;
        }
        return found;
    }
    int bootstraps() const { return int(requestsTo("/api/bootstrap").size()); }
};

QJsonObject jsonOf(const RecordedRequest& request) {
    return QJsonDocument::fromJson(request.body).object();
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(content);
    return path;
}

QStringList rowTexts(DocumentListModel* rows, int role) {
    QStringList texts;
    for (int i = 0; i < rows->rowCount(); ++i)
        texts << rows->data(rows->index(i), role).toString();
    return texts;
}

} // namespace

// The Library against a scripted backend: the list, uploads and the processing watch, on the
// virtual clock.
class LibraryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // The course filter and the search narrow the list and the header says how far; a failed load
    // keeps what was shown; loads do not overlap.
    void filterSearchAndHeader() {
        Backend backend;
        backend.documents = {document("d1", "Cell biology", "cells.pdf", "done", "c1"),
                             document("d2", "", "war-notes.docx", "processing", "c2"),
                             document("d3", "Reading list", "misc.txt", "failed"),
                             document("d4", "Week 2", "Mitosis lecture.pdf", "", "c1")};
        DocumentsModel model(backend.client());
        model.load();
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(backend.bootstraps(), 1);
        QCOMPARE(model.headerText(), QStringLiteral("Your documents (4)"));
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::TitleRole),
                 QStringList({"Cell biology", "war-notes.docx", "Reading list", "Week 2"}));
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::StateTextRole),
                 QStringList({"", "Processing…", "Couldn't process — try re-uploading", ""}));
        QCOMPARE(model.filterSymbol(), QStringLiteral("line.3.horizontal.decrease.circle"));

        model.setFilter("unassigned");
        QCOMPARE(model.headerText(), QStringLiteral("Your documents (1 of 4)"));
        QCOMPARE(model.filterSymbol(), QStringLiteral("line.3.horizontal.decrease.circle.fill"));
        const QVariantList options = model.filterOptions();
        QCOMPARE(options.size(), 4);
        QCOMPARE(options[1].toMap()["checked"].toBool(), true);
        QCOMPARE(options[3].toMap()["label"].toString(), QStringLiteral("History"));

        model.setFilter("course:c1");
        model.setSearchText("MITOSIS"); // not in the title, found in the filename
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::TitleRole), QStringList{"Week 2"});
        model.setSearchText("cell");
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::TitleRole), QStringList{"Cell biology"});
        model.setFilter("course:c2");
        QCOMPARE(model.headerText(), QStringLiteral("Your documents (0 of 4)"));
        QCOMPARE(model.emptyTitle(), QStringLiteral("No documents in this course"));
        QCOMPARE(model.emptyMessage(), QStringLiteral("Choose another course, or All courses."));

        backend.bootstrapStatus = 500;
        model.load();
        QTRY_VERIFY(!model.errorMessage().isEmpty());
        model.setFilter("all");
        model.setSearchText("");
        QCOMPARE(model.rows()->rowCount(), 4);

        backend.bootstrapStatus = 200;
        backend.documents.clear();
        model.load();
        QTRY_COMPARE(model.rows()->rowCount(), 0);
        QVERIFY(model.errorMessage().isEmpty());
        QCOMPARE(
            model.emptyMessage(),
            QStringLiteral("Add your syllabus to create a course, or upload lecture notes and readings."));
    }

    // Choosing a course sends the course and skips the syllabus check; "No course" sends neither.
    // The file arrives byte for byte with its content type, and the progress reaches the end.
    void uploadWithAndWithoutCourse() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        DocumentsModel model(backend.client());
        QByteArray pdf = "%PDF-1.7\n";
        while (pdf.size() < 2 * 1024 * 1024)
            pdf += QByteArray::number(pdf.size()) + '\n';
        const QString path = writeFile(dir_, "Lecture 1.pdf", pdf);

        model.chooseFile(QUrl::fromLocalFile(path));
        QCOMPARE(model.pendingFilename(), QStringLiteral("Lecture 1.pdf"));
        model.uploadTo("c1");
        QVERIFY(model.pendingFilename().isEmpty());
        QCOMPARE(model.uploadingFilename(), QStringLiteral("Lecture 1.pdf"));
        QTRY_VERIFY_WITH_TIMEOUT(model.uploadingFilename().isEmpty(), 20000);
        QCOMPARE(model.errorMessage(), QString());
        QCOMPARE(model.infoMessage(), QStringLiteral("Uploaded Lecture 1.pdf"));
        QCOMPARE(model.uploadProgress(), 1.0);

        const QJsonObject initiate = jsonOf(backend.requestsTo("/api/v2/uploads/document/initiate").first());
        QCOMPARE(initiate["filename"].toString(), QStringLiteral("Lecture 1.pdf"));
        QCOMPARE(initiate["file_size"].toInteger(), pdf.size());
        QCOMPARE(initiate["content_type"].toString(), QStringLiteral("application/pdf"));
        QCOMPARE(initiate["course_id"].toString(), QStringLiteral("c1"));
        const RecordedRequest put = backend.requestsTo("/storage/").first();
        QCOMPARE(put.method, QByteArray("PUT"));
        QCOMPARE(put.query, QByteArray("sig=abc"));
        QCOMPARE(put.header("Content-Type"), QByteArray("application/pdf"));
        QVERIFY(put.body == pdf);
        const QJsonObject complete = jsonOf(backend.requestsTo("/api/v2/uploads/document/complete").first());
        QCOMPARE(complete["document_id"].toString(), QStringLiteral("d-new"));
        QCOMPARE(complete["s3_key"].toString(), QStringLiteral("uploads/u1/d-new"));
        QCOMPARE(complete["original_filename"].toString(), QStringLiteral("Lecture 1.pdf"));
        QCOMPARE(complete["course_id"].toString(), QStringLiteral("c1"));
        QCOMPARE(complete["skip_syllabus_extraction"].toBool(), true);
        QCOMPARE(backend.bootstraps(), 1); // the list reloads after the upload

        const QString unknown = writeFile(dir_, "notes.xyz", "plain words");
        model.chooseFile(QUrl::fromLocalFile(unknown));
        model.uploadTo("");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        const QJsonObject second = jsonOf(backend.requestsTo("/api/v2/uploads/document/initiate").last());
        QCOMPARE(second["content_type"].toString(), QStringLiteral("application/octet-stream"));
        QVERIFY(!second.contains("course_id"));
        const QJsonObject secondComplete =
            jsonOf(backend.requestsTo("/api/v2/uploads/document/complete").last());
        QVERIFY(!secondComplete.contains("course_id"));
        QCOMPARE(secondComplete["skip_syllabus_extraction"].toBool(), false);
    }

    // Every way an upload can fail ends in one line, and none leaves an upload running.
    void uploadFailures() {
        Backend backend;
        DocumentsModel model(backend.client());
        const auto upload = [&](const QString& path) {
            model.chooseFile(QUrl::fromLocalFile(path));
            model.uploadTo("");
            if (!QTest::qWaitFor([&] { return model.uploadingFilename().isEmpty(); }))
                return QStringLiteral("(still uploading)");
            return model.errorMessage();
        };

        // Refused before any request.
        QCOMPARE(upload(writeFile(dir_, "empty.pdf", "")),
                 QStringLiteral("empty.pdf is empty, so there is nothing to upload."));
        const QString large = writeFile(dir_, "huge.pdf", "");
        QFile::resize(large, DocumentUpload::maximumSize + 1);
        QCOMPARE(upload(large), QStringLiteral("huge.pdf is too large to upload. Files can be up to 64 MB."));
        QCOMPARE(upload(dir_.filePath("gone.pdf")),
                 QStringLiteral("Couldn't read file: gone.pdf is no longer there."));
        // Unreadable even for root: a folder under a document's name.
        QVERIFY(QDir(dir_.path()).mkdir("folder.pdf"));
        QCOMPARE(upload(dir_.filePath("folder.pdf")),
                 QStringLiteral("Couldn't read file: file to open is a directory."));
        QCOMPARE(backend.server.requestCount(), 0);

        // A presigned URL that does not parse stops before any PUT.
        const QString pdf = writeFile(dir_, "a.pdf", "%PDF");
        backend.presignedURL = "not a url";
        QCOMPARE(upload(pdf), QStringLiteral("Upload failed: invalid presigned URL from server."));
        QCOMPARE(backend.requestsTo("/storage/").size(), 0);
        QCOMPARE(backend.requestsTo("/api/v2/uploads/document/complete").size(), 0);

        backend.presignedURL = backend.storageURL("/storage/x");
        backend.putStatus = 503;
        QCOMPARE(upload(pdf), QStringLiteral("Upload failed: Request failed (503). S3 PUT failed"));
        QCOMPARE(backend.requestsTo("/api/v2/uploads/document/complete").size(), 0);
        QVERIFY(model.infoMessage().isEmpty());
    }

    // An upload cut after its bytes went up but before "complete": the backend lists it as
    // pending, and the Library shows it processing, not as a document whose notes open.
    void anUploadCutBeforeCompleteIsNotReady() {
        Backend backend;
        backend.completeStatus = 503;
        backend.documents = {document("d-new", "", "Cut.pdf", "pending")};
        DocumentsModel model(backend.client());
        model.chooseFile(QUrl::fromLocalFile(writeFile(dir_, "Cut.pdf", "%PDF")));
        model.uploadTo("");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        QVERIFY(model.errorMessage().startsWith(QStringLiteral("Upload failed: ")));
        model.load();
        QTRY_COMPARE(model.rows()->rowCount(), 1);
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::StateRole), QStringList{"processing"});
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::StateTextRole), QStringList{"Processing…"});
        QSignalSpy opened(&model, &DocumentsModel::openDocument);
        model.open("d-new");
        QCOMPARE(opened.size(), 0);
    }

    // Several dropped files: the first accepted one is taken; none accepted is refused.
    void droppedFiles() {
        Backend backend;
        DocumentsModel model(backend.client());
        const QUrl sheet = QUrl::fromLocalFile(writeFile(dir_, "grades.xlsx", "x"));
        const QUrl word = QUrl::fromLocalFile(writeFile(dir_, "essay.docx", "x"));
        QVERIFY(!model.chooseDroppedFiles({sheet}));
        QCOMPARE(model.errorMessage(), DocumentsModel::unsupportedFileMessage);
        QVERIFY(model.pendingFilename().isEmpty());
        QVERIFY(model.chooseDroppedFiles({sheet, word, QUrl::fromLocalFile(writeFile(dir_, "b.pdf", "x"))}));
        QCOMPARE(model.pendingFilename(), QStringLiteral("essay.docx"));
        model.cancelDestination();
        QVERIFY(model.pendingFilename().isEmpty());
        QCOMPARE(backend.server.requestCount(), 0);
    }

    // Cancelling aborts the PUT in flight; nothing is completed.
    void cancelAbortsThePut() {
        Backend backend;
        backend.holdPut = true;
        DocumentsModel model(backend.client());
        model.chooseFile(QUrl::fromLocalFile(writeFile(dir_, "big.txt", QByteArray(512 * 1024, 'a'))));
        model.uploadTo("");
        QTRY_COMPARE(backend.server.heldCount(), 1);
        QVERIFY(model.canCancelUpload());
        model.cancelUpload();
        QVERIFY(model.uploadingFilename().isEmpty());
        QCOMPARE(model.infoMessage(), QStringLiteral("Cancelled the upload of big.txt."));
        QTRY_COMPARE(backend.server.clientAbortsWhileHeld(), 1);
        QCOMPARE(backend.requestsTo("/api/v2/uploads/document/complete").size(), 0);
        QVERIFY(model.errorMessage().isEmpty());

        // Cancelled while the file is still going out: the file closes under a transfer that
        // must not read it again (AddressSanitizer watches).
        backend.holdPut = false;
        model.chooseFile(
            QUrl::fromLocalFile(writeFile(dir_, "bigger.txt", QByteArray(32 * 1024 * 1024, 'b'))));
        connect(&model, &DocumentsModel::uploadProgressChanged, &model, [&model] {
            if (model.uploadProgress() > 0 && model.uploadProgress() < 1)
                model.cancelUpload();
        });
        model.uploadTo("");
        QTRY_VERIFY_WITH_TIMEOUT(model.uploadingFilename().isEmpty(), 20000);
        QCOMPARE(model.infoMessage(), QStringLiteral("Cancelled the upload of bigger.txt."));
        QTest::qWait(200);
        QCOMPARE(backend.requestsTo("/api/v2/uploads/document/complete").size(), 0);
    }

    // A document still processing is polled every 5 s, shown as slow from the 13th poll and left
    // without a word after the 36th.
    void watchTurnsSlowThenStopsSilently() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.documents = {document("d-new", "", "Long.pdf", "processing")};
        DocumentsModel model(backend.client());
        model.chooseFile(QUrl::fromLocalFile(writeFile(dir_, "Long.pdf", "%PDF")));
        model.uploadTo("");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        QCOMPARE(backend.bootstraps(), 1);
        // Polls update the row in place, so a focused row keeps its focus.
        QSignalSpy resets(model.rows(), &QAbstractItemModel::modelReset);

        for (int poll = 1; poll <= ProcessingWatch::maximumPolls; ++poll) {
            QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
            clock.advance(ProcessingWatch::interval);
            QTRY_COMPARE(backend.bootstraps(), poll + 1);
            QTRY_VERIFY(!model.isLoading());
            QCOMPARE(model.slowDocumentIds().contains("d-new"), poll >= 13);
        }
        QCOMPARE(rowTexts(model.rows(), DocumentListModel::StateTextRole),
                 QStringList{"Still processing — this can take a few minutes"});
        QCOMPARE(resets.size(), 0);
        QTest::qWait(20);
        QCOMPARE(clock.pendingTimers(), 0);
        QCOMPARE(model.infoMessage(), QStringLiteral("Uploaded Long.pdf"));
        QVERIFY(model.errorMessage().isEmpty());
    }

    // The watch ends with the document's outcome; a job id (syllabus check) that finds no syllabus
    // ends the same way.
    void watchReportsReadyAndFailed() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.documents = {document("d-new", "Chapter 3", "ch3.pdf", "queued")};
        backend.completion =
            R"({"job_id":"j1","status":"queued","job_type":"syllabus","document_id":"d-new"})";
        DocumentsModel model(backend.client());
        model.chooseFile(QUrl::fromLocalFile(writeFile(dir_, "ch3.pdf", "%PDF")));
        model.uploadTo("");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
        clock.advance(ProcessingWatch::interval);
        QTRY_COMPARE(backend.bootstraps(), 2);
        backend.documents = {document("d-new", "Chapter 3", "ch3.pdf", "done")};
        QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
        clock.advance(ProcessingWatch::interval);
        QTRY_COMPARE(model.infoMessage(), QStringLiteral("Chapter 3 is ready."));

        backend.documents = {document("d-new", "", "ch3.pdf", "error")};
        backend.completion = R"({"status":"processing"})";
        model.chooseFile(QUrl::fromLocalFile(dir_.filePath("ch3.pdf")));
        model.uploadTo("c2");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
        clock.advance(ProcessingWatch::interval);
        QTRY_COMPARE(model.errorMessage(),
                     QStringLiteral("ch3.pdf couldn't be processed. Try re-uploading it."));
        QCOMPARE(clock.pendingTimers(), 0);
    }

    // An upload without a course that the backend checks for a syllabus is followed in the syllabus
    // line: it names the course once the document has one, or says after the 36th poll that the file
    // is still processing. An upload into a course never shows the line.
    void noCourseUploadFollowsTheSyllabus() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.documents = {document("d-new", "", "BIO 201.pdf", "processing")};
        backend.completion =
            R"({"job_id":"j1","status":"queued","job_type":"syllabus","document_id":"d-new"})";
        DocumentsModel model(backend.client());
        model.chooseFile(QUrl::fromLocalFile(writeFile(dir_, "BIO 201.pdf", "%PDF")));
        model.uploadTo("");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        QCOMPARE(
            model.syllabus()->status(),
            QStringLiteral("Still processing BIO 201.pdf. We'll add your course as soon as it's ready."));
        for (int poll = 1; poll <= 2; ++poll) {
            QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
            clock.advance(ProcessingWatch::interval);
            QTRY_COMPARE(backend.bootstraps(), poll + 1);
        }
        backend.documents = {document("d-new", "BIO 201", "BIO 201.pdf", "done", "c1")};
        QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
        clock.advance(ProcessingWatch::interval);
        QTRY_COMPARE(model.infoMessage(),
                     QStringLiteral("Created your course “Biology”. Find it in Study and Quiz."));
        QVERIFY(model.syllabus()->status().isEmpty());

        backend.documents = {document("d-new", "", "Slow.pdf", "processing")};
        model.chooseFile(QUrl::fromLocalFile(writeFile(dir_, "Slow.pdf", "%PDF")));
        model.uploadTo("");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        for (int poll = 1; poll <= ProcessingWatch::maximumPolls; ++poll) {
            QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(ProcessingWatch::interval));
            QVERIFY(model.syllabus()->isBusy());
            clock.advance(ProcessingWatch::interval);
        }
        QTRY_COMPARE(model.infoMessage(),
                     QStringLiteral("Slow.pdf is still processing. Choose Refresh (Ctrl+R) "
                                    "in a minute; there's no need to upload it again."));
        QVERIFY(model.syllabus()->status().isEmpty());
        QCOMPARE(clock.pendingTimers(), 0);

        model.chooseFile(QUrl::fromLocalFile(dir_.filePath("Slow.pdf")));
        model.uploadTo("c2");
        QTRY_VERIFY(model.uploadingFilename().isEmpty());
        QVERIFY(model.syllabus()->status().isEmpty());
    }

    // A course typed in by hand: the list reloads and the line names the new course.
    void typedCourseIsAnnounced() {
        Backend backend;
        DocumentsModel model(backend.client());
        backend.courses = R"([{"course_id":"c9","course_name":"BIOL 201 — Cell Biology"}])";
        model.courseCreated("c9");
        QTRY_COMPARE(model.infoMessage(), QStringLiteral("Created your course “BIOL 201 — Cell Biology”. "
                                                         "Find it in Study and Quiz."));
        QCOMPARE(backend.bootstraps(), 1);
    }

    // A watch ends with its model: no timer stays behind and nothing runs on the gone model.
    void watchEndsWithTheModel() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.documents = {document("d-new", "", "x.pdf", "processing")};
        auto model = std::make_unique<DocumentsModel>(backend.client());
        model->chooseFile(QUrl::fromLocalFile(writeFile(dir_, "x.pdf", "%PDF")));
        model->uploadTo("");
        QTRY_VERIFY(model->uploadingFilename().isEmpty());
        QTRY_COMPARE(clock.pendingTimers(), 1);
        model.reset();
        QCOMPARE(clock.pendingTimers(), 0);
    }

    // A failed delete names the document; a successful one reloads the list.
    void deleteAndItsFailureLine() {
        Backend backend;
        backend.documents = {document("d1", "Syllabus", "s.pdf", "done")};
        DocumentsModel model(backend.client());
        model.load();
        QTRY_COMPARE(model.rows()->rowCount(), 1);
        backend.deleteStatus = 404;
        model.deleteDocument("d1");
        QTRY_VERIFY(model.errorMessage().startsWith("Delete failed for Syllabus: Request failed (404)"));
        QCOMPARE(backend.bootstraps(), 1);

        backend.deleteStatus = 200;
        backend.documents.clear();
        model.deleteDocument("d1");
        QTRY_COMPARE(model.rows()->rowCount(), 0);
        QCOMPARE(backend.requestsTo("/api/documents/d1").last().method, QByteArray("DELETE"));
        QVERIFY(model.errorMessage().isEmpty());
    }

    // Only a ready document opens; Rewards goes out as the app's notification.
    void openingAndRewards() {
        Backend backend;
        backend.documents = {document("d1", "Notes", "n.pdf", "done", "c1"),
                             document("d2", "Later", "l.pdf", "pending")};
        DocumentsModel model(backend.client());
        model.load();
        QTRY_COMPARE(model.rows()->rowCount(), 2);
        QSignalSpy opened(&model, &DocumentsModel::openDocument);
        model.open("d2");
        model.open("d1");
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0], QVariantList({"d1", "Notes", "c1"}));

        AppContext context(backend.client().baseURL(), {});
        model.setContext(&context);
        QSignalSpy rewards(&context, &AppContext::rewardsRequested);
        model.openRewards();
        QCOMPARE(rewards.size(), 1);
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(LibraryTest)
#include "tst_Library.moc"
