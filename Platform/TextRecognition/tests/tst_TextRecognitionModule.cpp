// The text recognition module as the app reaches it: nothing of Tesseract is mapped until the
// module loads, where it is looked for, and the engine's errors reaching the caller across the
// module's boundary. This test links the recognizer alone, as the app does, never the engine.
#include <QtTest>

#include "ImagePageSource.h"
#include "TaskProbe.h"
#include "TesseractTextRecognizer.h"
#include "TextRecognitionError.h"
#include "TextRecognitionModule.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

bool tesseractMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libtesseract");
}

QImage blankPage() {
    QImage page(200, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    return page;
}

} // namespace

class TextRecognitionModuleTest : public QObject {
    Q_OBJECT

private slots:
    // First of all: the test process has read nothing yet.
    void nothingOfTesseractBeforeTheFirstPage() {
        QVERIFY(!tesseractMapped());
        TesseractTextRecognizer recognizer;
        QVERIFY(!tesseractMapped()); // making the recognizer loads nothing either
    }

    void candidatesBesideTheInstalledAppThenInTheBuildTree() {
        const QStringList paths = TextRecognitionModule::candidates(QStringLiteral("/opt/app/bin"));
        QCOMPARE(paths.size(), 2);
        QVERIFY2(QRegularExpression(QStringLiteral("^/opt/app/lib(/[^/]+)?/orbelo/orbelo-text-recognition$"))
                     .match(paths.at(0))
                     .hasMatch(),
                 qPrintable(paths.at(0)));
        QVERIFY(paths.at(1).endsWith(QStringLiteral("/orbelo-text-recognition")));
        QVERIFY(QFile::exists(paths.at(1) + QStringLiteral(".so")));
    }

    void loadTakesTheFirstPathThatHoldsTheModule() {
        const QString built = TextRecognitionModule::candidates(QString()).at(1);
        QTemporaryDir dir;
        // Missing, then a library without the entry point, then the module.
        const QString missing = dir.filePath(QStringLiteral("orbelo-text-recognition"));
        QCOMPARE(TextRecognitionModule::load({missing}), nullptr);
        QCOMPARE(TextRecognitionModule::load({QStringLiteral("libm.so.6")}), nullptr);
        const TextRecognitionBackend* backend =
            TextRecognitionModule::load({missing, QStringLiteral("libm.so.6"), built});
        QVERIFY(backend);
        QVERIFY(backend->makeReader && backend->openPdf);
        QVERIFY(tesseractMapped());
        QCOMPARE(&TextRecognitionModule::backend(), backend);
    }

    // The engine's error is thrown inside the module and caught here by its type.
    void errorsCrossTheModule() {
        const TextRecognitionBackend& backend = TextRecognitionModule::backend();
        QTemporaryDir dir;
        const std::unique_ptr<PageReader> reader =
            backend.makeReader({dir.filePath(QStringLiteral("no-tessdata")), {}});
        const std::atomic<bool> cancelled = false;
        try {
            reader->read(blankPage(), cancelled);
            QFAIL("read without language data");
        } catch (const TextRecognitionError& error) {
            QCOMPARE(error.kind(), TextRecognitionError::Kind::engineUnavailable);
        }
        try {
            backend.openPdf(dir.filePath(QStringLiteral("none.pdf")), 100);
            QFAIL("opened a missing PDF");
        } catch (const TextRecognitionError& error) {
            QCOMPARE(error.kind(), TextRecognitionError::Kind::unreadablePdf);
        }
    }

    void recognizerReadsThroughTheModule() {
        TesseractTextRecognizer recognizer;
        TaskProbe<QStringList> probe(
            recognizer.recognize(std::make_shared<ImagePageSource>(QList<QImage>{blankPage()}), {}));
        QTRY_VERIFY_WITH_TIMEOUT(probe.done(), 60'000);
        QVERIFY2(probe.succeeded(), qPrintable(probe.errorText()));
        QCOMPARE(probe.value(), QStringList{QString()});
    }
};

QTEST_GUILESS_MAIN(TextRecognitionModuleTest)
#include "tst_TextRecognitionModule.moc"
