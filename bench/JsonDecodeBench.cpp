// Decoding a bootstrap-sized answer (10,000 documents) through the record codec, against a bare
// QJsonDocument parse of the same bytes.
#include "Json.h"

#include <QJsonDocument>

#include <benchmark/benchmark.h>

namespace {

struct BenchDocument {
    QString documentId;
    QString userId;
    std::optional<QString> courseId;
    QString filename;
    std::optional<QString> title;
    QString status;
    std::optional<int> chunkCount;
    std::optional<int> pageCount;
    QString uploadedAt;
    std::optional<QString> summary;
    JSON_RECORD(BenchDocument, documentId, userId, courseId, filename, title, status, chunkCount, pageCount,
                uploadedAt, summary)
};

struct BenchBootstrap {
    QList<BenchDocument> documents;
    JSON_RECORD(BenchBootstrap, documents)
};

QByteArray bootstrapBytes(int count) {
    QByteArray out = R"({"documents":[)";
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ',';
        out += QStringLiteral(
                   R"({"document_id":"doc-%1","user_id":"user_2abc","course_id":"course-%2",)"
                   R"("filename":"Lecture %1.pdf","title":"Lecture %1: Cell biology","status":"ready",)"
                   R"("chunk_count":%3,"page_count":%4,"uploaded_at":"2026-11-0%5T10:15:00Z",)"
                   R"("summary":"Cells are the basic unit of life; membranes regulate transport."})")
                   .arg(i)
                   .arg(i % 12)
                   .arg(i % 40)
                   .arg(i % 90)
                   .arg(1 + i % 9)
                   .toUtf8();
    }
    return out + "]}";
}

void BM_CodecDecode(benchmark::State& state) {
    const QByteArray bytes = bootstrapBytes(int(state.range(0)));
    for (auto _ : state) {
        auto decoded = json::decode<BenchBootstrap>(bytes);
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

BENCHMARK(BM_CodecDecode)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareParse)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
