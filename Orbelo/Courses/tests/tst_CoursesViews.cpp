#include "ViewTest.h"

#include "Courses/SyllabusImagePickerModel.h"
#include "Courses/TextRecognizerProvider.h"
#include "ImagePageSource.h"
#include "VirtualClock.h"

namespace {

// Reads nothing until the virtual clock reaches the hour: a reading that is still going on.
class WaitingRecognizer : public TextRecognizer {
public:
    async::Task<QStringList> recognize(std::shared_ptr<const PageSource> pages, Progress progress) override {
        return wait(std::move(pages), std::move(progress));
    }

private:
    static async::Task<QStringList> wait(std::shared_ptr<const PageSource> pages, Progress progress) {
        progress(1, pages->pageCount());
        co_await async::Clock::current().sleep(std::chrono::hours(1));
        co_return QStringList();
    }
};

} // namespace

// The Courses screens load without QML errors, and what a user reaches them by is there.
class CoursesViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The course sheets open over a window with their controls named; Escape closes each, which
    // reports cancelled for the two that read pages.
    void courseSheets() {
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> form = openSheet(window, "ManualCourseFormView.qml");
        QVERIFY(form);
        for (const char* name : {"Add a course", "Course title", "Details", "Course code", "Instructor",
                                 "Meets", "Topics", "Cancel", "Create"})
            QVERIFY2(!itemsNamed(window.contentItem(), QString::fromUtf8(name)).isEmpty(), name);
        QVERIFY(!itemsNamed(window.contentItem(), "Create").at(0)->isEnabled());
        form.reset();

        std::unique_ptr<QObject> scanner = openSheet(window, "DocumentScannerSheet.qml");
        QVERIFY(scanner);
        // This computer has no camera: the sheet says so and offers photos.
        for (const char* name :
             {"Scan syllabus", "No camera was found on this computer.", "Import syllabus image",
              "Captured pages appear here.", "Cancel", "Capture page", "Done"})
            QVERIFY2(!itemsNamed(window.contentItem(), QString::fromUtf8(name)).isEmpty(), name);
        QSignalSpy cancelled(scanner.get(), SIGNAL(cancelled()));
        QMetaObject::invokeMethod(scanner.get(), "close");
        QTRY_COMPARE(cancelled.size(), 1);
        scanner.reset();

        std::unique_ptr<QObject> picker = openSheet(window, "SyllabusImagePickerSheet.qml");
        QVERIFY(picker);
        for (const char* name : {"Import syllabus image",
                                 "Pick up to 10 photos of your syllabus. We read the text on your device, so "
                                 "the photos stay with you.",
                                 "Choose photos…", "Cancel", "Read photos"})
            QVERIFY2(!itemsNamed(window.contentItem(), QString::fromUtf8(name)).isEmpty(), name);
    }

    // While photos are being read "Cancel" stops the reading and keeps the sheet; then it closes
    // the sheet, which reports cancelled.
    void photoSheetCancelsReadingFirst() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        TextRecognizerProvider::setShared(std::make_shared<WaitingRecognizer>());
        TextRecognizerProvider::setPhotoPages([](const QStringList& paths) {
            return std::make_shared<ImagePageSource>(
                QList<QImage>(paths.size(), QImage(4, 4, QImage::Format_RGB32)));
        });
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> sheet = openSheet(window, "SyllabusImagePickerSheet.qml");
        QVERIFY(sheet);
        auto* picker = sheet->findChild<SyllabusImagePickerModel*>();
        QVERIFY(picker);
        QSignalSpy cancelled(sheet.get(), SIGNAL(cancelled()));
        picker->choose({QUrl::fromLocalFile("/photos/week1.jpg")});
        QCOMPARE(itemsNamed(window.contentItem(), "Remove week1.jpg").size(), 1);

        press(window.contentItem(), "Read photos");
        QVERIFY(picker->isRecognizing());
        for (const char* name : {"Reading your pages…", "Reading page 1 of 1…"})
            QVERIFY2(itemsNamed(window.contentItem(), QString::fromUtf8(name)).size() == 1, name);
        press(window.contentItem(), "Cancel");
        QVERIFY(!picker->isRecognizing());
        QVERIFY(sheet->property("opened").toBool());
        QCOMPARE(cancelled.size(), 0);

        press(window.contentItem(), "Cancel");
        QTRY_COMPARE(cancelled.size(), 1);
        TextRecognizerProvider::setShared(nullptr);
        TextRecognizerProvider::setPhotoPages({});
    }
};

QTEST_MAIN(CoursesViewsTest)
#include "tst_CoursesViews.moc"
