// The silence heard between narration segments on a busy machine: three 600 ms tones played
// through PcmNarrationQueue into a private PulseAudio's null sink, recorded from its monitor, beside
// busy loops that keep the cores occupied. The player, its sound server and recorder run below the
// loops' priority (nice 10 by default), as beside a build on a laptop. Prints the longest silence of
// each run, then the median and the maximum. Run by hand: bench_NarrationGap [--runs N] [--busy K]
// [--nice P].

#include "Media/PcmNarrationQueue.h"
#include "PrivateSoundServer.h"
#include "ScriptedHttpServer.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

// The longest silence of one playback of `segments`, or -1 when it did not play to its end.
double playOnce(PrivateSoundServer& sound, const QList<QUrl>& segments) {
    PcmNarrationQueue queue;
    QSignalSpy ended(&queue, &NarrationQueue::itemEnded);
    QSignalSpy failed(&queue, &NarrationQueue::failed);
    sound.startRecording();
    QTest::qWait(200);
    queue.start(segments, 0, 1.0);
    const bool done =
        QTest::qWaitFor([&] { return ended.size() == segments.size() || !failed.isEmpty(); }, 30000);
    QTest::qWait(300 + int(PcmNarrationQueue::sinkBuffer.count())); // the sink still holds the end
    const QList<double> heard = PrivateSoundServer::audible(sound.stopRecording());
    return done && failed.isEmpty() ? PrivateSoundServer::longestSilenceMs(heard) : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser options;
    options.addOption({"runs", "Playbacks to measure.", "N", "5"});
    options.addOption({"busy", "Busy loops beside the player.", "K", "2"});
    options.addOption({"nice", "How far below the loops the player runs.", "P", "10"});
    options.addHelpOption();
    options.process(app);
    const int runs = options.value("runs").toInt();
    const int busy = options.value("busy").toInt();
    std::vector<std::unique_ptr<QProcess>> loops;
    for (int i = 0; i < busy; ++i) {
        loops.push_back(std::make_unique<QProcess>());
        loops.back()->start("sh", {"-c", "while :; do :; done"});
    }
    // Before the sound server starts, so that it and the recorder share the player's priority.
    errno = 0;
    if (::nice(options.value("nice").toInt()) == -1 && errno != 0)
        std::perror("nice");

    QTemporaryDir dir;
    PrivateSoundServer sound(dir.path());
    if (!sound.isRunning()) {
        std::fprintf(stderr, "pulseaudio could not start: %s\n", qPrintable(sound.failure()));
        for (auto& loop : loops)
            loop->kill();
        return 1;
    }
    QHash<QByteArray, QByteArray> files;
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        files.insert(QByteArray("/") + name, PrivateSoundServer::tone(dir.path(), name, 440, 0.6));
    ScriptedHttpServer server;
    server.setHandler([&files](const RecordedRequest& request) {
        ScriptedResponse response;
        response.body = files.value(request.path);
        response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("audio/wav")));
        return response;
    });
    const QUrl base = server.baseUrl();
    const QList<QUrl> segments{base.resolved(QUrl("/a.wav")), base.resolved(QUrl("/b.wav")),
                               base.resolved(QUrl("/c.wav"))};

    std::vector<double> gaps;
    for (int run = 0; run < runs; ++run) {
        gaps.push_back(playOnce(sound, segments));
        std::printf("run %d: longest silence %.1f ms\n", run + 1, gaps.back());
    }
    for (auto& loop : loops) {
        loop->kill();
        loop->waitForFinished();
    }
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.empty())
        std::printf(
            "%d runs beside %d busy loops, nice %d: median %.1f ms, max %.1f ms (-1: did not finish)\n", runs,
            busy, options.value("nice").toInt(), gaps[gaps.size() / 2], gaps.back());
    return 0;
}
