#include <QtTest>

#include "Courses/DocumentScannerModel.h"
#include "Courses/ManualCourseFormModel.h"
#include "Courses/SyllabusImagePickerModel.h"
#include "FakeTextRecognizer.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

// A page whose red channel names it, so a test can tell which page was read.
QImage page(int shade) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(QColor(shade, 0, 0));
    return image;
}

// Reads one page a second on the installed clock, each as "page <shade>": order, progress and
// cancelling become visible.
class PacedRecognizer : public TextRecognizer {
public:
    async::Task<QStringList> recognize(std::shared_ptr<const PageSource> pages, Progress progress) override {
        return run(std::move(pages), std::move(progress));
    }

private:
    static async::Task<QStringList> run(std::shared_ptr<const PageSource> pages, Progress progress) {
        QStringList texts;
        for (int i = 0; i < pages->pageCount(); ++i) {
            progress(i + 1, pages->pageCount());
            co_await async::Clock::current().sleep(1s);
            texts << QStringLiteral("page %1").arg(pages->page(i).pixelColor(0, 0).red());
        }
        co_return texts;
    }
};

// Photo files loaded as they are read; one that is not an image cannot be read.
class PhotoFiles : public PageSource {
public:
    explicit PhotoFiles(QStringList paths) : paths_(std::move(paths)) {}
    int pageCount() const override { return int(paths_.size()); }
    QImage page(int index) const override {
        const QImage image(paths_.at(index));
        if (image.isNull())
            throw TextRecognitionError(TextRecognitionError::Kind::unreadableImage, paths_.at(index));
        return image;
    }

private:
    const QStringList paths_;
};

std::shared_ptr<const PageSource> photoFiles(const QStringList& paths) {
    return std::make_shared<PhotoFiles>(paths);
}

QJsonObject jsonOf(const QByteArray& text) {
    return QJsonDocument::fromJson(text).object();
}

QList<QVariantList> outcomes(const QSignalSpy& a, const QSignalSpy& b, const QSignalSpy& c) {
    return QList<QVariantList>(a) + QList<QVariantList>(b) + QList<QVariantList>(c);
}

} // namespace

// The three ways of starting a course by hand or from pictures: the typed form against a scripted
// backend, the webcam scanner and the photo picker with stand-in recognizers on the virtual clock.
class CoursesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Creating sends the typed details (trimmed, one topic per non-blank line), then starts the
    // study plan with them; the status line follows each step and a second Create does nothing.
    void manualCourseCreatesCourseAndStudyPlan() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest& r) {
            if (r.path == "/api/class-info")
                return ScriptedResponse::json(200, R"({"status":"success","course_id":"crs_9"})");
            return ScriptedResponse::held(ScriptedResponse::json(200, R"({"status":"success"})"));
        });
        ManualCourseFormModel form(scriptedClient(server));
        QSignalSpy created(&form, &ManualCourseFormModel::created);
        QSignalSpy saved(&form, &ManualCourseFormModel::savedWithoutPlan);
        QVERIFY(!form.canCreate());
        form.setTitle(QStringLiteral("  BIOL 201 — Cell Biology "));
        form.setCode(QStringLiteral("BIOL 201"));
        form.setInstructor(QStringLiteral(" Dr. Raman"));
        form.setMeetingTimes(QStringLiteral("Mon/Wed 10am"));
        form.setTopicsText(QStringLiteral("Cells\n\n  Membranes  \n   \nMitosis"));
        QVERIFY(form.canCreate());

        form.create();
        form.create();
        QVERIFY(form.isSubmitting());
        QVERIFY(!form.canCreate());
        QCOMPARE(form.statusMessage(), QStringLiteral("Creating “BIOL 201 — Cell Biology”…"));
        QTRY_COMPARE(server.heldCount(), 1);
        QCOMPARE(form.statusMessage(), QStringLiteral("Building your study plan…"));
        server.releaseHeld();
        QTRY_COMPARE(created.size(), 1);
        QCOMPARE(created[0][0].toString(), QStringLiteral("crs_9"));
        QCOMPARE(saved.size(), 0);
        QVERIFY(!form.isSubmitting());
        QCOMPARE(form.errorMessage(), QString());

        QCOMPARE(server.requestCount(), 2);
        QCOMPARE(server.requests()[0].method, QByteArray("POST"));
        QCOMPARE(jsonOf(server.requests()[0].body),
                 jsonOf(R"({"class_title":"BIOL 201 — Cell Biology","class_instructor":"Dr. Raman",
                            "class_time":"Mon/Wed 10am","topics":["Cells","Membranes","Mitosis"]})"));
        QCOMPARE(server.requests()[1].path, QByteArray("/api/generate-study-plan"));
        QCOMPARE(jsonOf(server.requests()[1].body),
                 jsonOf(R"({"course_id":"crs_9","syllabus_info":{"course_name":"BIOL 201 — Cell Biology",
                            "course_code":"BIOL 201","instructor":"Dr. Raman","meeting_times":"Mon/Wed 10am",
                            "learning_objectives":["Cells","Membranes","Mitosis"]}})"));
    }

    // Only the title is needed: blank fields and an empty topic list are left out, and a blank
    // title creates nothing.
    void manualCourseLeavesOutWhatWasNotTyped() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, R"({"course_id":"crs_1"})"));
        server.enqueue(ScriptedResponse::json(200, R"({"status":"success"})"));
        ManualCourseFormModel form(scriptedClient(server));
        QSignalSpy created(&form, &ManualCourseFormModel::created);
        form.setTitle(QStringLiteral("   "));
        form.create();
        QVERIFY(!form.isSubmitting());

        form.setTitle(QStringLiteral("Chemistry"));
        form.setInstructor(QStringLiteral("  "));
        form.setTopicsText(QStringLiteral("\n \n"));
        form.create();
        QTRY_COMPARE(created.size(), 1);
        QCOMPARE(server.requestCount(), 2);
        QCOMPARE(jsonOf(server.requests()[0].body), jsonOf(R"({"class_title":"Chemistry"})"));
        QCOMPARE(jsonOf(server.requests()[1].body),
                 jsonOf(R"({"course_id":"crs_1","syllabus_info":{"course_name":"Chemistry"}})"));
    }

    // A study plan that does not start, by its answer or by failing, still tells the user the
    // course was saved, reports it for the Library to load, and leaves nothing to create twice
    // until the form is opened afresh; a class that cannot be created says why and starts no plan.
    void manualCourseFailures() {
        for (const ScriptedResponse& plan : {ScriptedResponse::json(200, R"({"status":"queued"})"),
                                             ScriptedResponse::json(500, R"({"detail":"boom"})")}) {
            ScriptedHttpServer server;
            server.enqueue(ScriptedResponse::json(200, R"({"status":"success","course_id":"crs_2"})"));
            server.enqueue(plan);
            ManualCourseFormModel form(scriptedClient(server));
            QSignalSpy created(&form, &ManualCourseFormModel::created);
            QSignalSpy saved(&form, &ManualCourseFormModel::savedWithoutPlan);
            form.setTitle(QStringLiteral("History"));
            form.create();
            QTRY_VERIFY(!form.isSubmitting());
            QCOMPARE(form.errorMessage(), ManualCourseFormModel::studyPlanFailedMessage);
            QCOMPARE(form.statusMessage(), QString());
            QCOMPARE(created.size(), 0);
            QCOMPARE(saved.size(), 1);
            QCOMPARE(saved[0][0].toString(), QStringLiteral("crs_2"));

            QVERIFY(!form.canCreate());
            form.setTitle(QStringLiteral("History II"));
            QVERIFY(!form.canCreate());
            form.create();
            QVERIFY(!form.isSubmitting());
            QCOMPARE(server.requestCount(), 2);
            QCOMPARE(form.errorMessage(), ManualCourseFormModel::studyPlanFailedMessage);

            form.reset();
            QVERIFY(form.errorMessage().isEmpty());
            form.setTitle(QStringLiteral("Geography"));
            QVERIFY(form.canCreate());
        }

        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(422, R"({"detail":"class_title is required."})"));
        ManualCourseFormModel form(scriptedClient(server));
        form.setTitle(QStringLiteral("History"));
        form.create();
        QTRY_VERIFY(!form.isSubmitting());
        QCOMPARE(form.errorMessage(), QStringLiteral("Couldn't create your course: Request failed (422). "
                                                     R"({"detail":"class_title is required."})"));
        QCOMPARE(server.requestCount(), 1);
        QVERIFY(form.canCreate());
    }

    // Without a camera the sheet says so and offers photos instead; nothing can be captured or read.
    void scannerWithoutCamera() {
        auto recognizer = std::make_shared<FakeTextRecognizer>();
        DocumentScannerModel scanner(recognizer);
        QSignalSpy instead(&scanner, &DocumentScannerModel::importImagesInstead);
        scanner.begin();
        QVERIFY(!scanner.hasCamera());
        QCOMPARE(scanner.cameraMessage(), QStringLiteral("No camera was found on this computer."));
        QVERIFY(!scanner.canCapture());
        QVERIFY(!scanner.canFinish());
        scanner.done();
        QCOMPARE(recognizer->calls, 0);
        scanner.chooseImagesInstead();
        QCOMPARE(instead.size(), 1);
    }

    // Captured pages are read in strip order, removed ones left out, with a progress line per
    // page; the outcome is the page texts separated by blank lines.
    void scannerReadsPagesInOrder() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        DocumentScannerModel scanner(std::make_shared<PacedRecognizer>());
        QSignalSpy scanned(&scanner, &DocumentScannerModel::scanned);
        scanner.begin();
        scanner.cameraStarted();
        QVERIFY(scanner.canCapture());
        QCOMPARE(scanner.cameraMessage(), QString());
        for (int shade : {10, 20, 30})
            scanner.addPage(page(shade));
        scanner.removePage(1);
        scanner.removePage(5);
        QCOMPARE(scanner.pageCount(), 2);
        QCOMPARE(scanner.thumbnails().size(), 2);
        QVERIFY(scanner.thumbnails()[0].startsWith(QStringLiteral("data:image/jpeg;base64,")));

        scanner.done();
        QVERIFY(scanner.isReading());
        QVERIFY(!scanner.canCapture() && !scanner.canFinish());
        QCOMPARE(scanner.progressText(), QStringLiteral("Reading page 1 of 2…"));
        clock.advance(1s);
        QTRY_COMPARE(scanner.progressText(), QStringLiteral("Reading page 2 of 2…"));
        clock.advance(1s);
        QTRY_COMPARE(scanned.size(), 1);
        QCOMPARE(scanned[0], QVariantList({QStringLiteral("page 10\n\npage 30"), 2}));
        QVERIFY(!scanner.isReading());
        QCOMPARE(scanner.progressText(), QString());
    }

    // Cancelling a reading reports nothing and goes back to capturing with the pages kept; closing
    // the sheet reports cancelled.
    void scannerCancelsReading() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        DocumentScannerModel scanner(std::make_shared<PacedRecognizer>());
        QSignalSpy scanned(&scanner, &DocumentScannerModel::scanned);
        QSignalSpy failed(&scanner, &DocumentScannerModel::failed);
        QSignalSpy cancelled(&scanner, &DocumentScannerModel::cancelled);
        scanner.cameraStarted();
        scanner.addPage(page(1));
        scanner.addPage(page(2));
        scanner.done();
        clock.advance(1s);
        QTRY_COMPARE(scanner.progressText(), QStringLiteral("Reading page 2 of 2…"));
        scanner.cancelReading();
        QVERIFY(!scanner.isReading());
        QCOMPARE(clock.pendingTimers(), 0);
        QCOMPARE(scanner.pageCount(), 2);
        QVERIFY(scanner.canCapture() && scanner.canFinish());
        QTest::qWait(0);
        QVERIFY(outcomes(scanned, failed, cancelled).isEmpty());

        scanner.done();
        scanner.cancel();
        QVERIFY(!scanner.isReading());
        QCOMPARE(cancelled.size(), 1);
        QCOMPARE(scanned.size() + failed.size(), 0);
    }

    // A camera that goes away keeps what was captured and still lets it be read; one that fails
    // shows its own description.
    void scannerLosesCamera() {
        auto recognizer = std::make_shared<FakeTextRecognizer>();
        recognizer->texts = {QStringLiteral("  Syllabus  "), QStringLiteral(" \n"), QStringLiteral("Week 1")};
        DocumentScannerModel scanner(recognizer);
        QSignalSpy scanned(&scanner, &DocumentScannerModel::scanned);
        scanner.cameraStarted();
        scanner.addPage(page(1));
        scanner.cameraLost();
        QCOMPARE(scanner.cameraMessage(),
                 QStringLiteral("The camera was disconnected. Your page is kept — choose Done to read it."));
        scanner.cameraStarted();
        scanner.addPage(page(2));
        scanner.addPage(page(3));
        scanner.cameraLost();
        QVERIFY(!scanner.hasCamera() && !scanner.canCapture());
        QCOMPARE(
            scanner.cameraMessage(),
            QStringLiteral("The camera was disconnected. Your 3 pages are kept — choose Done to read them."));
        QVERIFY(scanner.canFinish());
        scanner.done();
        QCOMPARE(scanned.size(), 1);
        QCOMPARE(scanned[0], QVariantList({QStringLiteral("Syllabus\n\nWeek 1"), 3}));

        scanner.cameraFailed(QStringLiteral("Camera is in use by another application"));
        QCOMPARE(scanner.cameraMessage(), QStringLiteral("Camera is in use by another application"));
    }

    // A recognizer that fails, or none at all, ends the scan in failed with the reason.
    void scannerRecognitionFails() {
        auto recognizer = std::make_shared<FakeTextRecognizer>();
        recognizer->error = TextRecognitionError(TextRecognitionError::Kind::engineUnavailable,
                                                 QStringLiteral("The English language data is missing."));
        for (const auto& [engine, description] :
             {std::pair<std::shared_ptr<TextRecognizer>, QString>{
                  recognizer, QStringLiteral("The English language data is missing.")},
              {nullptr, QStringLiteral("Text recognition isn't available on this computer.")}}) {
            DocumentScannerModel scanner(engine);
            QSignalSpy failed(&scanner, &DocumentScannerModel::failed);
            QSignalSpy scanned(&scanner, &DocumentScannerModel::scanned);
            scanner.addPage(page(1));
            scanner.done();
            QCOMPARE(failed.size(), 1);
            QCOMPARE(failed[0][0].toString(), description);
            QCOMPARE(scanned.size(), 0);
            QVERIFY(!scanner.isReading());
        }
    }

    // The picker keeps at most ten photos, says when it left some out, and offers the formats it
    // can read.
    void pickerSelection() {
        SyllabusImagePickerModel picker(std::make_shared<FakeTextRecognizer>(), photoFiles);
        QCOMPARE(picker.introText(),
                 QStringLiteral("Pick up to 10 photos of your syllabus. We read the text on "
                                "your device, so the photos stay with you."));
        QVERIFY(!picker.canRead());
        QList<QUrl> files;
        for (int i = 1; i <= 12; ++i)
            files << QUrl::fromLocalFile(QStringLiteral("/photos/page%1.jpg").arg(i));
        picker.choose(files.mid(0, 2));
        picker.choose(files);
        QCOMPARE(picker.photoNames().size(), 10);
        QCOMPARE(picker.photoNames().first(), QStringLiteral("page1.jpg"));
        QCOMPARE(picker.photoNames().last(), QStringLiteral("page10.jpg"));
        QVERIFY(!picker.selectionNote().isEmpty());
        picker.removePhoto(0);
        QCOMPARE(picker.photoNames().first(), QStringLiteral("page2.jpg"));
        QCOMPARE(picker.selectionNote(), QString());
        picker.begin();
        QVERIFY(picker.photoNames().isEmpty());

        QCOMPARE(SyllabusImagePickerModel::nameFiltersFor({"png", "jpeg"}),
                 QStringList{QStringLiteral("Images (*.png *.jpg *.jpeg *.webp *.tif *.tiff)")});
        QCOMPARE(
            SyllabusImagePickerModel::nameFiltersFor({"png", "heic", "heif"}),
            QStringList{QStringLiteral("Images (*.png *.jpg *.jpeg *.webp *.tif *.tiff *.heic *.heif)")});
    }

    // Photos are read one by one with progress, then reported with their count; cancelling
    // returns to the chosen photos without an outcome.
    void pickerReadsPhotos() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        QTemporaryDir dir;
        QList<QUrl> files;
        for (int shade : {40, 50, 60}) {
            const QString path = dir.filePath(QStringLiteral("p%1.png").arg(shade));
            QVERIFY(page(shade).save(path));
            files << QUrl::fromLocalFile(path);
        }
        SyllabusImagePickerModel picker(std::make_shared<PacedRecognizer>(), photoFiles);
        QSignalSpy recognized(&picker, &SyllabusImagePickerModel::recognized);
        QSignalSpy failed(&picker, &SyllabusImagePickerModel::failed);
        QSignalSpy cancelled(&picker, &SyllabusImagePickerModel::cancelled);
        picker.choose(files);

        picker.read();
        QVERIFY(picker.isRecognizing() && !picker.canRead());
        clock.advance(1s);
        QTRY_COMPARE(picker.progressText(), QStringLiteral("Reading page 2 of 3…"));
        picker.cancelReading();
        QVERIFY(!picker.isRecognizing());
        QCOMPARE(picker.photoNames().size(), 3);
        QTest::qWait(0);
        QVERIFY(outcomes(recognized, failed, cancelled).isEmpty());

        picker.read();
        QCOMPARE(picker.progressText(), QStringLiteral("Reading page 1 of 3…"));
        for (int i = 0; i < 3; ++i) {
            QTRY_COMPARE(clock.pendingTimers(), 1);
            clock.advance(1s);
        }
        QTRY_COMPARE(recognized.size(), 1);
        QCOMPARE(recognized[0], QVariantList({QStringLiteral("page 40\n\npage 50\n\npage 60"), 3}));
    }

    // A photo that does not open ends the sheet with the picking-again line; without a recognizer
    // or a photo loader the reason is that recognition is unavailable.
    void pickerCannotReadPhotos() {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.png"));
        QVERIFY(page(1).save(good));
        const QString bad = dir.filePath(QStringLiteral("notes.jpg"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();

        SyllabusImagePickerModel picker(std::make_shared<FakeTextRecognizer>(), photoFiles);
        QSignalSpy failed(&picker, &SyllabusImagePickerModel::failed);
        picker.choose({QUrl::fromLocalFile(good), QUrl::fromLocalFile(bad)});
        picker.read();
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed[0][0].toString(),
                 QStringLiteral("We couldn't open those photos. Try picking them again."));

        for (SyllabusImagePickerModel* unavailable :
             {new SyllabusImagePickerModel(nullptr, photoFiles, this),
              new SyllabusImagePickerModel(std::make_shared<FakeTextRecognizer>(), {}, this)}) {
            QSignalSpy reason(unavailable, &SyllabusImagePickerModel::failed);
            unavailable->choose({QUrl::fromLocalFile(good)});
            unavailable->read();
            QCOMPARE(reason.size(), 1);
            QCOMPARE(reason[0][0].toString(),
                     QStringLiteral("Text recognition isn't available on this computer."));
            delete unavailable;
        }
    }
};

QTEST_MAIN(CoursesTest)
#include "tst_Courses.moc"
