// A 60-second study song in each genre, from a page of class notes, as the song job composes it, sung
// by espeak-ng and by the server's voice: wall time, this process's CPU time, the CPU time of the
// processes it starts (festival, the sox encoder), and the Ogg's size.
// Run by hand (taskset -c 0 for one core), never by ctest.

#include "Songs/SongComposer.h"
#include "Speech/InstalledVoices.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

const QString notes = QStringLiteral(
    "# Cell transport\n\n"
    "Osmosis is the movement of water across a membrane from a dilute solution to a concentrated one.\n\n"
    "Diffusion is the net spread of particles from where they are crowded to where they are sparse.\n\n"
    "Active transport is the pumping of molecules against their concentration gradient using energy from "
    "ATP.\n\n"
    "A membrane is a thin layer of lipids and proteins that separates the inside of a cell from its "
    "surroundings.\n\n"
    "Turgor pressure is the push of water in the central vacuole against the cell wall of a plant.\n\n"
    "An enzyme is a protein that speeds up a chemical reaction without being used up.\n\n"
    "A ribosome is a small structure that builds proteins from amino acids.\n\n"
    "Chlorophyll is the green pigment that captures light for photosynthesis.\n\n"
    "Stomata are tiny pores in a leaf through which gases pass.\n\n"
    "Xylem is the tissue that carries water up from the roots.\n");

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_SixtySecondSong(benchmark::State& state) {
    const QString genre = SongComposer::genres().at(state.range(0));
    // Sung by espeak-ng (0) or by the voice the server would choose here (1).
    const SpeechVoice voice =
        state.range(1) == 0 ? SpeechVoice{} : SpeechVoice::mostIntelligible(InstalledVoices::probe());
    state.SetLabel((genre + ", " + voice.provider()).toStdString());
    QTemporaryDir directory;
    qint64 bytes = 0;
    const double childrenBefore = childCpuSeconds();
    for (auto _ : state) {
        QString error;
        const auto song = SongComposer::compose(
            {"Cell transport", notes, {"osmosis", "diffusion"}, genre, 60, voice}, directory.path(),
            [] { return false; }, &error);
        if (!song) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        bytes = QFileInfo(song->audioPath).size();
        QFile::remove(song->audioPath);
    }
    state.counters["KiB"] = double(bytes) / 1024;
    state.counters["child_cpu_s"] =
        benchmark::Counter((childCpuSeconds() - childrenBefore), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_SixtySecondSong)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 4, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_MAIN();
