// Reading one A4 syllabus page with Tesseract on one core: time per page, and the character
// accuracy against the drawn text as a counter. Variants: a clean 300 DPI scan, a photo turned 4°
// with each clean-up step on and off, and an image-only PDF rendered at several resolutions.
#include "CharacterAccuracy.h"
#include "PdfPageSource.h"
#include "SyllabusPageRenderer.h"
#include "TesseractEngine.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

void read(benchmark::State& state, const QImage& page, PageImageCleaner::Steps steps) {
    TesseractEngine engine({{}, steps});
    const std::atomic<bool> cancelled = false;
    engine.read(page, cancelled); // loads the language data outside the measured runs
    QString text;
    for (auto _ : state)
        text = engine.read(page, cancelled).value_or(QString());
    state.counters["accuracy"] = characterAccuracy(SyllabusPageRenderer::text(), text);
}

void cleanScan(benchmark::State& state) {
    read(state, SyllabusPageRenderer::renderPage(int(state.range(0))),
         {state.range(1) != 0, state.range(2) != 0});
}
BENCHMARK(cleanScan)
    ->ArgNames({"dpi", "deskew", "binarise"})
    ->Args({300, 1, 1})
    ->Args({300, 0, 0})
    ->Unit(benchmark::kMillisecond);

// A phone photo: the page fills about 150 or 300 DPI worth of pixels.
void rotatedPhoto(benchmark::State& state) {
    read(state, SyllabusPageRenderer::renderPhoto(int(state.range(0)), 4.0),
         {state.range(1) != 0, state.range(2) != 0});
}
BENCHMARK(rotatedPhoto)
    ->ArgNames({"dpi", "deskew", "binarise"})
    ->ArgsProduct({{150, 300}, {1, 0}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

// Rendering the page is part of the work here: the PDF holds a 300 DPI scan.
void pdfPage(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("scan.pdf");
    SyllabusPageRenderer::writePdf(path, 1, 300);
    const auto pages = PdfPageSource::open(path, int(state.range(0)));
    TesseractEngine engine({});
    const std::atomic<bool> cancelled = false;
    engine.read(pages->page(0), cancelled);
    QString text;
    for (auto _ : state)
        text = engine.read(pages->page(0), cancelled).value_or(QString());
    state.counters["accuracy"] = characterAccuracy(SyllabusPageRenderer::text(), text);
}
BENCHMARK(pdfPage)->ArgName("dpi")->Arg(100)->Arg(150)->Arg(200)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Tesseract's OpenMP reads the thread limit once, when it loads: run again with it set.
    if (qgetenv("OMP_THREAD_LIMIT") != "1") {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
