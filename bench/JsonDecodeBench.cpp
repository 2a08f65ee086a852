// Decoding a bootstrap answer (a Library of 5,000 documents, and 10,000) through the record codec, against a
// bare QJsonDocument parse of the same bytes.
#include "Json.h"
#include "User/BootstrapResponse.h"

#include <QJsonDocument>

#include <benchmark/benchmark.h>

namespace {

// Documents as the bootstrap endpoint lists them.
QByteArray bootstrapBytes(int count) {
    QByteArray out = R"({"documents":[)";
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ',';
        out +=
            QStringLiteral(R"({"document_id":"doc-%1","course_id":"course-%2","filename":"Lecture %1.pdf",)"
                           R"("title":"Lecture %1: Cell biology","document_type":"lecture_notes",)"
                           R"("file_type":"pdf","chunk_count":%3,"uploaded_at":"2026-11-0%4T10:15:00Z",)"
                           R"("status":"ready"})")
                .arg(i)
                .arg(i % 12)
                .arg(i % 40)
                .arg(1 + i % 9)
                .toUtf8();
    }
    return out + R"(],"courses":[],"documents_count":)" + QByteArray::number(count) + "}";
}

void BM_CodecDecode(benchmark::State& state) {
    const QByteArray bytes = bootstrapBytes(int(state.range(0)));
    for (auto _ : state) {
        auto decoded = json::decode<BootstrapResponse>(bytes);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
}

void BM_BareParse(benchmark::State& state) {
    const QByteArray bytes = bootstrapBytes(int(state.range(0)));
    for (auto _ : state) {
        auto doc = QJsonDocument::fromJson(bytes);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
}

} // namespace

BENCHMARK(BM_CodecDecode)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareParse)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
