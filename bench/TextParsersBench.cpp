// Cost of the text parsers against input size. Each runs on 1 KB, 100 KB and 1 MB of realistic text
// (test fixtures repeated) and, for the HTML parser, of unterminated tags, the input that makes
// backtracking patterns quadratic. Linear parsers keep a steady bytes-per-second rate across sizes.
#include "MnemonicHTMLParser.h"
#include "Text/InlineMarkdown.h"
#include "Text/LyricsText.h"
#include "Text/MarkdownBlock.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

QString fixture(const char* path) {
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", path);
    return QString::fromUtf8(file.readAll());
}

// `unit` repeated until the text holds `bytes` bytes of UTF-8.
QString repeated(const QString& unit, qsizetype bytes) {
    const qsizetype unitBytes = unit.toUtf8().size();
    return unit.repeated(std::max<qsizetype>(1, bytes / unitBytes));
}

template <typename Parse> void runOn(benchmark::State& state, const QString& input, Parse parse) {
    for (auto _ : state)
        benchmark::DoNotOptimize(parse(input));
    state.SetBytesProcessed(int64_t(state.iterations()) * input.toUtf8().size());
}

template <typename Parse> void run(benchmark::State& state, const QString& unit, Parse parse) {
    runOn(state, repeated(unit, state.range(0)), parse);
}

void mnemonicGuide(benchmark::State& state) {
    static const QString unit = fixture(MNEMONIC_DATA "/flat-guide.html");
    run(state, unit, [](const QString& html) { return MnemonicHTMLParser::parse(html); });
}

void mnemonicGuideInWrapper(benchmark::State& state) {
    static const QString guide = fixture(MNEMONIC_DATA "/photosynthesis-guide.html");
    static const QString inner = guide.mid(guide.indexOf(u'>') + 1).chopped(7);
    const QString html = QStringLiteral("<div>") + repeated(inner, state.range(0)) + QStringLiteral("</div>");
    runOn(state, html, [](const QString& html) { return MnemonicHTMLParser::parse(html); });
}

void mnemonicUnterminatedTags(benchmark::State& state) {
    static const QString unit = QStringLiteral(
        "<div style='display:grid;grid-template-columns:repeat(2,1fr)'><td<tr<h3<b<div<table<td "
        "repeat(3,<div ");
    run(state, unit, [](const QString& html) { return MnemonicHTMLParser::parse(html); });
}

void markdownBlocks(benchmark::State& state) {
    static const QString unit = fixture(TEXT_DATA "/notes.md") + u'\n';
    run(state, unit, [](const QString& text) { return MarkdownBlock::parse(text); });
}

void markdownBlocksWithInlineRuns(benchmark::State& state) {
    static const QString unit = fixture(TEXT_DATA "/notes.md") + u'\n';
    run(state, unit, [](const QString& text) {
        qsizetype styled = 0;
        for (const MarkdownBlock& block : MarkdownBlock::parse(text))
            styled += InlineMarkdown::styledText(block.text).size();
        return styled;
    });
}

void inlineRunsOnOneLine(benchmark::State& state) {
    static const QString unit = QStringLiteral("**bold *it [link](https://e.org) `c ~~s _u ** ");
    run(state, unit, [](const QString& text) { return InlineMarkdown::styledText(text); });
}

void lyrics(benchmark::State& state) {
    static const QString unit = fixture(TEXT_DATA "/song.txt");
    run(state, unit, [](const QString& text) { return LyricsText::parse(text); });
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1 << 10)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(mnemonicGuide)->Apply(sizes);
BENCHMARK(mnemonicGuideInWrapper)->Apply(sizes);
BENCHMARK(mnemonicUnterminatedTags)->Apply(sizes);
BENCHMARK(markdownBlocks)->Apply(sizes);
BENCHMARK(markdownBlocksWithInlineRuns)->Apply(sizes);
BENCHMARK(inlineRunsOnOneLine)->Apply(sizes);
BENCHMARK(lyrics)->Apply(sizes);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
