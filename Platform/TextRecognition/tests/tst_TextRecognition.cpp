// Reading syllabus pages for real: pages drawn from a known text (clean, photographed at an angle,
// inside an image-only PDF) are read by Tesseract and compared character by character; progress,
// cancellation, and the errors of every kind of bad input.
// moc stumbles over <coroutine> when it comes before any Qt header.
#include <QtTest>

#include "CharacterAccuracy.h"
#include "ImageFilePageSource.h"
#include "ImagePageSource.h"
#include "PageImageCleaner.h"
#include "PdfPageSource.h"
#include "SyllabusImageFormats.h"
#include "SyllabusPageRenderer.h"
#include "TaskProbe.h"
#include "TesseractTextRecognizer.h"
#include "TextRecognitionError.h"

#include <QImageWriter>
#include <QTemporaryDir>

#include <atomic>

namespace {

// Pages at a modest resolution keep the tests quick; the clean-up scales them to working size.
constexpr int testDpi = 150;
constexpr double minimumAccuracy = 0.98;

// Counts the pages asked for and the threads they were asked on.
class CountingPageSource : public PageSource {
public:
    explicit CountingPageSource(std::shared_ptr<const PageSource> pages) : pages_(std::move(pages)) {}
    int pageCount() const override { return pages_->pageCount(); }
    QImage page(int index) const override {
        ++requested;
        onMainThread = onMainThread || QThread::currentThread() == qApp->thread();
        return pages_->page(index);
    }
    mutable std::atomic<int> requested = 0;
    mutable std::atomic<bool> onMainThread = false;

private:
    std::shared_ptr<const PageSource> pages_;
};

struct ProgressLog {
    QList<std::pair<int, int>> calls;
    bool offMainThread = false;
    TextRecognizer::Progress callback() {
        return [this](int page, int pageCount) {
            calls.append({page, pageCount});
            offMainThread = offMainThread || QThread::currentThread() != qApp->thread();
        };
    }
};

} // namespace

class TextRecognitionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // A clean scan and a 4°-turned, unevenly lit, noisy photo, as files; read on the worker
    // thread, reported on this one.
    void readsScansAndPhotos() {
        const QString clean = dir_.filePath("clean.png");
        const QString photo = dir_.filePath("photo.jpg");
        QVERIFY(SyllabusPageRenderer::renderPage(testDpi).save(clean));
        QVERIFY(SyllabusPageRenderer::renderPhoto(testDpi, 4.0).save(photo, "JPEG", 90));
        auto pages = std::make_shared<CountingPageSource>(
            std::make_shared<ImageFilePageSource>(QStringList{clean, photo}));
        TesseractTextRecognizer recognizer;
        ProgressLog progress;

        TaskProbe<QStringList> probe(recognizer.recognize(pages, progress.callback()));
        QTRY_VERIFY_WITH_TIMEOUT(probe.done(), 120'000);
        QVERIFY2(probe.succeeded(), qPrintable(probe.errorText()));
        QCOMPARE(probe.value().size(), 2);
        for (const QString& text : probe.value()) {
            const double accuracy = characterAccuracy(SyllabusPageRenderer::text(), text);
            QVERIFY2(accuracy >= minimumAccuracy,
                     qPrintable(QString("accuracy %1 of:\n%2").arg(accuracy).arg(text)));
        }
        QCOMPARE(progress.calls, (QList<std::pair<int, int>>{{1, 2}, {2, 2}}));
        QVERIFY(!progress.offMainThread);
        QVERIFY(!pages->onMainThread);
    }

    void deskewFindsTheAngle_data() {
        QTest::addColumn<double>("degrees");
        QTest::newRow("level") << 0.0;
        QTest::newRow("4° clockwise") << 4.0;
        QTest::newRow("2.5° anticlockwise") << -2.5;
        QTest::newRow("6° clockwise") << 6.0;
    }
    // A page turned clockwise on screen is turned back by the same angle anticlockwise.
    void deskewFindsTheAngle() {
        QFETCH(double, degrees);
        const double angle = PageImageCleaner::skewAngle(SyllabusPageRenderer::renderPhoto(testDpi, degrees));
        QVERIFY2(std::abs(angle + degrees) <= 0.5, qPrintable(QString("found %1°").arg(angle)));
    }

    void readsImageOnlyPdfs() {
        const QString path = dir_.filePath("scan.pdf");
        QVERIFY(SyllabusPageRenderer::writePdf(path, 1, 300));
        const auto pages = PdfPageSource::open(path);
        QCOMPARE(pages->pageCount(), 1);
        TesseractTextRecognizer recognizer;

        TaskProbe<QStringList> probe(recognizer.recognize(pages, {}));
        QTRY_VERIFY_WITH_TIMEOUT(probe.done(), 120'000);
        QVERIFY2(probe.succeeded(), qPrintable(probe.errorText()));
        QVERIFY(characterAccuracy(SyllabusPageRenderer::text(), probe.value().value(0)) >= minimumAccuracy);
    }

    // Ending the task mid-page loads no further page and leaves the thread free for the next job.
    void cancellingStopsTheJob() {
        const QString path = dir_.filePath("long.pdf");
        QVERIFY(SyllabusPageRenderer::writePdf(path, 8, testDpi));
        auto pages = std::make_shared<CountingPageSource>(PdfPageSource::open(path));
        TesseractTextRecognizer recognizer;
        ProgressLog progress;
        auto cancelled =
            std::make_unique<TaskProbe<QStringList>>(recognizer.recognize(pages, progress.callback()));
        QTRY_COMPARE(pages->requested.load(), 1);

        cancelled.reset();
        TaskProbe<QStringList> next(
            recognizer.recognize(std::make_shared<ImagePageSource>(QList<QImage>{blankPage()}), {}));
        QTRY_VERIFY_WITH_TIMEOUT(next.done(), 120'000);
        QVERIFY2(next.succeeded(), qPrintable(next.errorText()));
        QCOMPARE(next.value(), QStringList{QString()});
        QCOMPARE(pages->requested.load(), 1);
        QCOMPARE(progress.calls, (QList<std::pair<int, int>>{{1, 8}}));
    }

    // The task keeps the thread: it finishes after the recognizer is gone, or is ended mid-page.
    void recognizerDestroyedWhileWorking() {
        const auto pages = std::make_shared<ImagePageSource>(
            QList<QImage>{SyllabusPageRenderer::renderPage(testDpi), blankPage()});
        auto recognizer = std::make_unique<TesseractTextRecognizer>();
        TaskProbe<QStringList> finishes(recognizer->recognize(pages, {}));
        auto ended = std::make_unique<TaskProbe<QStringList>>(recognizer->recognize(pages, {}));
        recognizer.reset();

        QTRY_VERIFY_WITH_TIMEOUT(finishes.done(), 120'000);
        QVERIFY2(finishes.succeeded(), qPrintable(finishes.errorText()));
        QCOMPARE(finishes.value().size(), 2);
        ended.reset();
    }

    void unreadableImages_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("text file named .jpg") << "notes.jpg" << QByteArray("Week 1: Cells\n");
        QTest::newRow("1x1 image") << "dot.png" << pngOf(QSize(1, 1));
        QTest::newRow("thin strip") << "strip.png" << pngOf(QSize(2000, 20));
        QTest::newRow("missing file") << "absent.png" << QByteArray();
    }
    // The error comes out of the task, from the worker thread, with a sentence naming the file.
    void unreadableImages() {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        if (!contents.isEmpty())
            QVERIFY(writeFile(file, contents));
        TesseractTextRecognizer recognizer;
        TaskProbe<QStringList> probe(recognizer.recognize(
            std::make_shared<ImageFilePageSource>(QStringList{dir_.filePath(file)}), {}));
        QTRY_VERIFY(probe.done());
        const auto error = probe.error<TextRecognitionError>();
        QCOMPARE(error.kind(), TextRecognitionError::Kind::unreadableImage);
        QVERIFY(error.description().contains(file));
    }

    void unreadablePdfs_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("damaged") << "broken.pdf" << QByteArray("%PDF-1.7\n1 0 obj garbage");
        QTest::newRow("an image named .pdf") << "photo.pdf" << pngOf(QSize(100, 100));
        QTest::newRow("missing file") << "absent.pdf" << QByteArray();
        QTest::newRow("password-protected") << "locked.pdf" << QByteArray();
    }
    void unreadablePdfs() {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        if (!contents.isEmpty())
            QVERIFY(writeFile(file, contents));
        if (file == "locked.pdf") {
            QVERIFY(SyllabusPageRenderer::writePdf(dir_.filePath("open.pdf"), 1, 50));
            QCOMPARE(QProcess::execute("qpdf", {"--encrypt", "reader", "owner", "256", "--",
                                                dir_.filePath("open.pdf"), dir_.filePath(file)}),
                     0);
        }
        try {
            PdfPageSource::open(dir_.filePath(file));
            QFAIL("opened");
        } catch (const TextRecognitionError& error) {
            QCOMPARE(error.kind(), TextRecognitionError::Kind::unreadablePdf);
            QVERIFY(error.description().contains(file));
        }
    }

    void missingLanguageDataIsEngineUnavailable() {
        TesseractTextRecognizer recognizer({dir_.filePath("no-tessdata"), {}});
        TaskProbe<QStringList> probe(
            recognizer.recognize(std::make_shared<ImagePageSource>(QList<QImage>{blankPage()}), {}));
        QTRY_VERIFY(probe.done());
        QCOMPARE(probe.error<TextRecognitionError>().kind(), TextRecognitionError::Kind::engineUnavailable);
    }

    // Phone photos arrive on their side with an EXIF orientation; the page comes out upright.
    void photosAreTurnedUpright() {
        const QString path = dir_.filePath("sideways.jpg");
        QImageWriter writer(path);
        writer.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(writer.write(QImage(400, 300, QImage::Format_RGB32)));
        const QImage page = ImageFilePageSource({path}).page(0);
        QCOMPARE(page.size(), QSize(300, 400));
    }

    void pickerOffersReadableFormats() {
        const QString filter = SyllabusImageFormats::nameFilters().join(' ');
        for (const char* pattern : {"*.png", "*.jpg", "*.jpeg", "*.webp", "*.tiff"})
            QVERIFY2(filter.contains(QLatin1String(pattern)), pattern);
        QCOMPARE(filter.contains("*.heic"), SyllabusImageFormats::canReadHeic());
    }

private:
    bool writeFile(const QString& name, const QByteArray& contents) {
        QFile out(dir_.filePath(name));
        return out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size();
    }
    static QImage blankPage() {
        QImage page(400, 560, QImage::Format_RGB32);
        page.fill(Qt::white);
        return page;
    }
    static QByteArray pngOf(QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(TextRecognitionTest)
#include "tst_TextRecognition.moc"
