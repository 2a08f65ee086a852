// Start-up as a user sees it: the app launched as a whole process, timed from spawn to exit,
// against a bare Qt Quick Controls window (BareWindow). The app runs twice over: once quitting
// after its first frame (the splash), once quitting when the sign-in screen of a signed-out start
// is on screen, which needs the local server and a Secret Service. Everything runs in a private
// headless session (HeadlessSession). Prints the median, fastest and slowest of N runs, the
// ratio of each median to the bare window's, and the median peak RSS.
//
//   bench_Startup [--runs N] [--warmup N] [--app <orbelo>] [--against <orbelo>]
//
// --against times a second build of the app in the same rounds (one from before a change, say),
// so that both meet the same load on the machine.
#include "HeadlessSession.h"
#include "TimedLaunch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Case {
    QString name;
    QString program;
    QStringList arguments;
    QStringList environment;
    std::vector<TimedLaunch> runs = {};
};

template <class T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs the case once; nothing when the program fails, whose output's end is then printed.
std::optional<TimedLaunch> runOnce(const Case& c, const HeadlessSession& session) {
    const QString log = session.path(QStringLiteral("last-run.log"));
    QFile::remove(log);
    const std::optional<TimedLaunch> launch =
        TimedLaunch::run(c.program, c.arguments, session.environment() + c.environment, log);
    if (!launch || launch->exitStatus != 0) {
        QFile output(log);
        output.open(QIODevice::ReadOnly);
        std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(c.name),
                     launch ? "the run failed (exit status or timeout)" : "cannot start the program",
                     output.readAll().right(4000).constData());
        return std::nullopt;
    }
    return launch;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption runsOption("runs", "Timed runs of each case (default 15).", "n", "15");
    const QCommandLineOption warmupOption("warmup", "Untimed runs of each case first (default 2).", "n", "2");
    const QCommandLineOption appOption("app", "Time this build of the app (default: the tree's).", "path",
                                       QStringLiteral(ORBELO_APP));
    const QCommandLineOption againstOption("against", "Also time this other build of the app.", "path");
    parser.addOptions({runsOption, warmupOption, appOption, againstOption});
    parser.process(application);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const int warmup = std::max(0, parser.value(warmupOption).toInt());
    const QString appProgram = parser.value(appOption);

    HeadlessSession session;
    if (QString error; !session.start(QStringLiteral(ORBELO_LOCAL_SERVER), &error)) {
        std::fprintf(stderr, "cannot start the headless session: %s\n", qPrintable(error));
        return 1;
    }
    const QStringList app{"--trust-certificate", session.certificate(), "--server", session.serverURL()};
    const QStringList common{"QT_QPA_PLATFORM=xcb"};
    std::vector<Case> cases{
        {"bare window, first frame", QStringLiteral(BARE_WINDOW), {}, common},
    };
    const auto addApp = [&](const QString& label, const QString& program) {
        cases.push_back({label + ", first frame (splash)", program, app,
                         common + QStringList{"ORBELO_EXIT_AFTER_FIRST_FRAME=1"}});
        cases.push_back(
            {label + ", sign-in screen", program, app, common + QStringList{"ORBELO_EXIT_AT_SIGN_IN=1"}});
    };
    addApp(QStringLiteral("orbelo"), appProgram);
    if (parser.isSet(againstOption))
        addApp(QStringLiteral("against"), parser.value(againstOption));

    std::printf("Start-up: %d runs of each case after %d warm-up runs, interleaved, on %s\n", runs, warmup,
                qPrintable(session.display()));
    // Interleaved, so that whatever else the machine does weighs on every case alike.
    for (int round = 0; round < warmup + runs; ++round)
        for (Case& c : cases) {
            const std::optional<TimedLaunch> launch = runOnce(c, session);
            if (!launch)
                return 1; // the session stops its processes on the way out
            if (round >= warmup)
                c.runs.push_back(*launch);
        }

    std::vector<double> bareTimes;
    for (const TimedLaunch& launch : cases.front().runs)
        bareTimes.push_back(launch.milliseconds);
    const double bare = median(bareTimes);
    std::printf("%-34s %10s %10s %10s %8s %14s\n", "case", "median ms", "min ms", "max ms", "ratio",
                "peak RSS MiB");
    for (const Case& c : cases) {
        std::vector<double> times;
        std::vector<long> rss;
        for (const TimedLaunch& launch : c.runs) {
            times.push_back(launch.milliseconds);
            rss.push_back(launch.peakRssKiB);
        }
        const double m = median(times);
        std::printf("%-34s %10.1f %10.1f %10.1f %7.2fx %14.1f\n", qPrintable(c.name), m,
                    *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()), m / bare, median(rss) / 1024.0);
    }
    return 0;
}
