#pragma once

#include "TestServer.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <utility>

// The main of a benchmark against a fresh in-process local server: `server` points at it while
// `setUp` prepares its data (naming `what` when that fails), then each named benchmark runs in
// milliseconds of real time.
using LocalServerBenchmark = void (*)(benchmark::State&);

inline int
runLocalServerBenchmarks(int argc, char** argv, TestServer*& server, bool (*setUp)(), const char* what,
                         std::initializer_list<std::pair<const char*, LocalServerBenchmark>> benches) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TestServer instance;
    server = &instance;
    if (!setUp()) {
        qCritical("the server or %s could not be set up", what);
        return 1;
    }
    for (const auto& [name, function] : benches)
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
