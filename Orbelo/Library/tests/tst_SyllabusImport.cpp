#include <QtTest>

#include "FakeTextRecognizer.h"
#include "ImagePageSource.h"
#include "Library/SyllabusImport.h"
#include "Library/SyllabusMessages.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

const QString syllabusText = QStringLiteral("BIOL 201 Cell Biology. Instructor: Dr. Rivera. Week 1: Cells.");

// The syllabus endpoint on a scripted server: a file answers `fileAnswer`, text answers
// `textAnswer`, and a queued job answers `jobAnswer` when followed.
struct Backend {
    ScriptedHttpServer server;
    int fileStatus = 200;
    QByteArray fileAnswer = R"({"status":"success","extracted_data":{"class_title":"BIOL 201"}})";
    int textStatus = 200;
    QByteArray textAnswer = R"({"status":"success","course_id":"c1","course_name":"Cell Biology"})";
    // The job's answers in turn; the last one stays.
    QByteArrayList jobAnswers;

    Backend() {
        server.setHandler([this](const RecordedRequest& r) {
            if (r.path == "/api/process-document") {
                if (r.header("Content-Type").value_or("").startsWith("multipart/"))
                    return ScriptedResponse::json(fileStatus, fileAnswer);
                return ScriptedResponse::json(textStatus, textAnswer);
            }
            if (r.path.startsWith("/api/jobs/"))
                return ScriptedResponse::json(200, jobAnswers.size() > 1 ? jobAnswers.takeFirst()
                                                                         : jobAnswers.value(0));
            return ScriptedResponse::json(404, "{}");
        });
    }

    QList<RecordedRequest> textRequests() const {
        QList<RecordedRequest> found;
        for (const RecordedRequest& r : server.requests()) {
            if (r.path == "/api/process-document" && r.header("Content-Type").value_or("").contains("json"))
                found << r;
        }
        return found;
    }
};

struct Outcome {
    QString info;
    QString error;
};

// Starts an import and runs until it reports its line.
Outcome outcomeOf(SyllabusImport& import, const std::function<void()>& start) {
    QSignalSpy finished(&import, &SyllabusImport::finished);
    start();
    if (finished.isEmpty() && !finished.wait(20000))
        return {"(no outcome)", "(no outcome)"};
    return {finished[0][0].toString(), finished[0][1].toString()};
}

// A PDF source that stands in for rendered pages; the fake recognizer only counts them.
std::shared_ptr<const PageSource> blankPages(int count) {
    return std::make_shared<ImagePageSource>(QList<QImage>(count, QImage(64, 64, QImage::Format_Grayscale8)));
}

} // namespace

// Courses from a syllabus against a scripted backend, with a fake recognizer standing in for
// the one that reads page images.
class SyllabusImportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // Labels, and the minimum of 50 characters checked before any request.
    void labelsAndMinimumText() {
        using SyllabusMessages::Material;
        QCOMPARE(SyllabusMessages::materialLabel(Material::photos, 1), QStringLiteral("photo"));
        QCOMPARE(SyllabusMessages::materialLabel(Material::photos, 3), QStringLiteral("3 photos"));
        QCOMPARE(SyllabusMessages::materialLabel(Material::scan, 4), QStringLiteral("4-page scan"));

        Backend backend;
        SyllabusImport import(scriptedClient(backend.server), {}, {});
        const QString fortyNine = QString(49, u'x');
        QSignalSpy finished(&import, &SyllabusImport::finished);
        import.submitPhotos("  \n" + fortyNine + "\n\t ", 2);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][1].toString(),
                 QStringLiteral("We couldn't read enough text from those photos. Try clearer, flatter photos "
                                "of each page, or import a PDF export instead."));
        import.submitScan(fortyNine, 1);
        QCOMPARE(finished[1][1].toString(),
                 QStringLiteral("We couldn't read enough text from that scan. Try again with brighter, "
                                "flatter pages, or import a PDF export instead."));
        QCOMPARE(backend.server.requests().size(), 0);

        const Outcome outcome = outcomeOf(import, [&] {
            import.submitScan(fortyNine + "y", 4);
            QCOMPARE(import.status(),
                     QStringLiteral("Reading your 4-page scan and extracting your class details."));
        });
        QCOMPARE(outcome.info,
                 QStringLiteral("Created your course “Cell Biology”. Find it in Study and Quiz."));
        QVERIFY(import.status().isEmpty());
        const QJsonObject sent = QJsonDocument::fromJson(backend.textRequests().at(0).body).object();
        QCOMPARE(sent["document_content"].toString(), fortyNine + "y");
        QCOMPARE(sent["source"].toString(), QStringLiteral("ios-scan"));
        QCOMPARE(sent["filename"].toString(), QStringLiteral("Syllabus — 4-page scan"));

        outcomeOf(import, [&] {
            import.submitPhotos(syllabusText, 1);
            QCOMPARE(import.status(),
                     QStringLiteral("Reading your photo and extracting your class details."));
        });
    }

    // The result and error lines, including a result that arrives through a queued job.
    void resultAndErrorLines() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        SyllabusImport import(scriptedClient(backend.server), {}, {});
        const auto submit = [&] { return outcomeOf(import, [&] { import.submitPhotos(syllabusText, 3); }); };

        backend.textAnswer = R"({"status":"success","course_id":"c1"})";
        QCOMPARE(submit().info, QStringLiteral("Your course is ready. Find it in Study and Quiz."));
        backend.textAnswer = R"({"status":"not_syllabus","document_id":"d1"})";
        QCOMPARE(submit().error,
                 QStringLiteral("We couldn't find class details in that syllabus. Make sure "
                                "it's a real syllabus (not an image-only scan) and try again."));
        backend.textStatus = 422;
        backend.textAnswer =
            R"({"error":"empty_or_too_short: the syllabus text needs at least 50 characters."})";
        QCOMPARE(submit().error,
                 QStringLiteral("We couldn't read enough text from that syllabus. Try a clearer "
                                "scan or a searchable PDF export."));
        backend.textStatus = 500;
        backend.textAnswer = R"({"error":"database is locked"})";
        const Outcome failed = submit();
        QVERIFY2(failed.error.startsWith("Couldn't create your course: "), qPrintable(failed.error));
        QVERIFY(failed.error.contains("database is locked"));

        backend.textStatus = 200;
        backend.textAnswer = R"({"job_id":"j7","status":"queued","job_type":"syllabus_text"})";
        const QByteArray job = R"("job_id":"j7","user_id":"u1","job_type":"syllabus_text",)"
                               R"("created_at":"2026-12-06T10:00:00Z",)";
        backend.jobAnswers = {"{" + job + R"("status":"processing"})",
                              "{" + job + R"("status":"complete","result":{"status":"success",)" +
                                  R"("course_id":"c2","course_name":"World History"}})"};
        QSignalSpy finished(&import, &SyllabusImport::finished);
        import.submitScan(syllabusText, 2);
        // The job is looked at straight away, then every 2 s.
        QTRY_COMPARE(clock.nextTimerIn(), 2000ms);
        QCOMPARE(finished.size(), 0);
        clock.advance(2s);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toString(),
                 QStringLiteral("Created your course “World History”. Find it in Study and Quiz."));
    }

    // A PDF with text goes up as a file and is named from its class details; one over the size
    // limit never leaves the computer.
    void pdfWithText() {
        Backend backend;
        SyllabusImport import(scriptedClient(backend.server), {}, {});
        const QString path = write("BIOL201.pdf", "%PDF-1.4 syllabus");
        QCOMPARE(outcomeOf(import,
                           [&] {
                               import.importPdf(QUrl::fromLocalFile(path));
                               QCOMPARE(import.status(), QStringLiteral("Reading “BIOL201.pdf” and "
                                                                        "extracting your class details."));
                           })
                     .info,
                 QStringLiteral("Created your course “BIOL 201”. Find it in Study and Quiz."));
        const RecordedRequest sent = backend.server.requests().at(0);
        QVERIFY(sent.body.contains("filename=\"BIOL201.pdf\""));
        QVERIFY(sent.body.contains("Content-Type: application/pdf"));
        QVERIFY(sent.body.contains("%PDF-1.4 syllabus"));

        QFile big(dir_.filePath("huge.pdf"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(5'500'001));
        big.close();
        const Outcome refused =
            outcomeOf(import, [&] { import.importPdf(QUrl::fromLocalFile(big.fileName())); });
        QVERIFY2(refused.error.startsWith("Couldn't create your course: That syllabus file is too large."),
                 qPrintable(refused.error));
        QCOMPARE(backend.server.requests().size(), 1);
    }

    // An image-only PDF is read on this computer page by page and its text sent as read from a
    // PDF; too little text, or pages that cannot be rendered, end with the scanned-PDF line.
    void imageOnlyPdfIsReadOnTheDevice() {
        Backend backend;
        backend.fileAnswer = R"({"status":"empty_or_too_short","message":"no text"})";
        auto recognizer = std::make_shared<FakeTextRecognizer>();
        recognizer->texts = {"BIOL 201 Cell Biology", "Instructor: Dr. Rivera",
                             "Week 1: Cells and membranes"};
        SyllabusImport import(scriptedClient(backend.server), recognizer,
                              [](const QString&) { return blankPages(3); });
        QStringList progress;
        connect(&import, &SyllabusImport::progressTextChanged, this, [&] {
            if (!import.progressText().isEmpty())
                progress << import.progressText();
        });
        QStringList statuses;
        connect(&import, &SyllabusImport::statusChanged, this, [&] { statuses << import.status(); });

        const QUrl scan = QUrl::fromLocalFile(write("scan.pdf", "%PDF-1.4 images"));
        QCOMPARE(outcomeOf(import, [&] { import.importPdf(scan); }).info,
                 QStringLiteral("Created your course “Cell Biology”. Find it in Study and Quiz."));
        QCOMPARE(progress,
                 QStringList({"Reading page 1 of 3…", "Reading page 2 of 3…", "Reading page 3 of 3…"}));
        QCOMPARE(statuses,
                 QStringList({"Reading “scan.pdf” and extracting your class details.",
                              "This looks like a scanned PDF — reading the text on your device…", ""}));
        const QJsonObject sent = QJsonDocument::fromJson(backend.textRequests().at(0).body).object();
        QCOMPARE(sent["source"].toString(), QStringLiteral("ios-pdf-ocr"));
        QCOMPARE(sent["filename"].toString(), QStringLiteral("scan.pdf"));
        QCOMPARE(sent["document_content"].toString(), recognizer->texts.join("\n\n"));

        const QString unreadable = QStringLiteral("This PDF looks like images only and we couldn't read its "
                                                  "text. Try a searchable PDF export, or use Scan syllabus.");
        recognizer->texts = {"Week 1", "", "Cells"};
        QCOMPARE(outcomeOf(import, [&] { import.importPdf(scan); }).error, unreadable);
        recognizer->error = TextRecognitionError(TextRecognitionError::Kind::unreadablePdf, "broken");
        QCOMPARE(outcomeOf(import, [&] { import.importPdf(scan); }).error, unreadable);
        QCOMPARE(backend.textRequests().size(), 1);
    }

    // Cancelling while pages are read stops at once, sends nothing and frees the import.
    void cancelWhileReading() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.fileAnswer = R"({"status":"empty_or_too_short"})";
        auto recognizer = std::make_shared<FakeTextRecognizer>();
        recognizer->texts = QStringList(3, syllabusText);
        recognizer->pageTime = 1s;
        SyllabusImport import(scriptedClient(backend.server), recognizer,
                              [](const QString&) { return blankPages(3); });
        QSignalSpy finished(&import, &SyllabusImport::finished);
        import.importPdf(QUrl::fromLocalFile(write("long.pdf", "%PDF")));
        QTRY_COMPARE(import.progressText(), QStringLiteral("Reading page 1 of 3…"));
        QTRY_COMPARE(clock.pendingTimers(), 1);
        QVERIFY(import.canCancel());
        import.cancel();
        QVERIFY(!import.canCancel());
        QCOMPARE(clock.pendingTimers(), 0);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toString(), QStringLiteral("Stopped reading “long.pdf”. Nothing was sent."));
        QVERIFY(!import.isBusy());
        QVERIFY(import.progressText().isEmpty());
        QCOMPARE(backend.textRequests().size(), 0);
    }

    // The webcam and photo sheets' own failures, in the Library's words.
    void sheetFailures() {
        Backend backend;
        SyllabusImport import(scriptedClient(backend.server), {}, {});
        QSignalSpy finished(&import, &SyllabusImport::finished);
        import.reportScanFailure("The camera was disconnected.");
        import.reportPhotoFailure("We couldn't open those photos. Try picking them again.");
        QCOMPARE(finished[0][1].toString(), QStringLiteral("Couldn't scan: The camera was disconnected."));
        QCOMPARE(finished[1][1].toString(),
                 QStringLiteral("We couldn't open those photos. Try picking them again."));
    }

private:
    QString write(const QString& name, const QByteArray& content) {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(name));
        file.write(content);
        return file.fileName();
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(SyllabusImportTest)
#include "tst_SyllabusImport.moc"
