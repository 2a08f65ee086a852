// Painting a mnemonic as a picture, as "Save image…" and "Copy image" do: a six-card guide and a
// plain mnemonic at the standard size (1080 points at 2x), and encoding the guide's picture as PNG.
// The painting runs on a worker thread, but a user waits for it; it should stay under 200 ms.
#include "Mnemonics/MnemonicImageRenderer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

// A guide as the backend writes them: a "how to use" section, then six cards in the six accent
// colours, each with a bold acronym, a list and, on every other card, a table.
QString sixCardGuide() {
    static const QStringList colours{"#FFF3E0", "#E8F5E9", "#E3F2FD", "#F3E5F5", "#FFF9C4", "#FAFAFA"};
    QString html = "<div style=\"background:#F5F5F5\"><h3>How to use these mnemonics</h3>"
                   "<p>Read each card aloud, cover it, and recall the idea before checking.</p></div>";
    for (int i = 0; i < 6; ++i) {
        html +=
            QString("<div style=\"background-color: %1; padding: 16px\"><h3>Stage %2: PMAT and friends</h3>"
                    "<p><strong>P</strong>lease <strong>M</strong>ake <strong>A</strong>nother "
                    "<strong>T</strong>ea: prophase, metaphase, anaphase, telophase.</p>"
                    "<ul><li>Chromosomes condense and the nuclear envelope breaks down</li>"
                    "<li>Spindle fibres attach at the kinetochores</li><li>Sister chromatids part</li></ul>")
                .arg(colours.at(i))
                .arg(i + 1);
        if (i % 2 == 0)
            html += "<table><tr><th>Letter</th><th>Stage</th><th>Cue</th></tr>"
                    "<tr><td>P</td><td>Prophase</td><td>Pack up</td></tr>"
                    "<tr><td>M</td><td>Metaphase</td><td>Middle</td></tr>"
                    "<tr><td>A</td><td>Anaphase</td><td>Apart</td></tr></table>";
        html += "</div>";
    }
    return html;
}

void BM_SixCardGuide(benchmark::State& state) {
    const QString guide = sixCardGuide();
    for (auto _ : state)
        benchmark::DoNotOptimize(MnemonicImageRenderer::render(guide, QStringLiteral("Cell division")));
}

void BM_PlainMnemonic(benchmark::State& state) {
    const QString text = QStringLiteral("**HOMES**: Huron, Ontario, Michigan, Erie, Superior.\n\n"
                                        "- H for Huron\n- O for Ontario\n- M for Michigan\n- E for Erie\n"
                                        "- S for Superior");
    for (auto _ : state)
        benchmark::DoNotOptimize(MnemonicImageRenderer::render(text, QStringLiteral("The Great Lakes")));
}

void BM_SixCardGuidePng(benchmark::State& state) {
    const QImage image = MnemonicImageRenderer::render(sixCardGuide(), QStringLiteral("Cell division"));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["height_px"] = image.height();
}

} // namespace

BENCHMARK(BM_SixCardGuide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMnemonic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixCardGuidePng)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
