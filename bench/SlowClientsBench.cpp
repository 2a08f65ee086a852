// A normal client beside slow and abusive ones. One keep-alive TLS connection sends
// `GET /v1/environment` back to back, first alone, then while slow connections hold on to the
// server: some connect and never start TLS, some shake hands and idle, some send a large header
// block and drip the rest one byte at a time, some write pipelined requests and never read the
// answers. Prints the normal client's median and 99th-percentile latency both ways, and when
// the server refused or ended the slow connections. Everything runs on one client thread, and
// every phase has a deadline.
//
//   bench_SlowClients [--seconds N] [--slow N] [--hold N] [--server <orbelo-local-server>]
//
// --seconds is how long the normal client is measured in each phase (default 5), --slow how many
// slow connections there are (default 200), --hold how long they are kept open (default 15 s;
// at least until the normal client's second measurement ends).
#include "ClientTls.h"
#include "LoadConnection.h"
#include "LoadTally.h"
#include "ServerProcess.h"
#include "SlowConnection.h"
#include "SlowGroup.h"
#include "SocketQueues.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/address.hpp>
#include <boost/asio/steady_timer.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = LoadTally::Clock;

// How long the normal client may take to connect before it is measured regardless (its failures
// then count as errors), how long a request in flight at the end of a measurement may take, and
// how long the slow connections get to connect before the normal client starts.
constexpr auto readyTimeout = std::chrono::seconds(10);
constexpr auto drainTimeout = std::chrono::seconds(5);
constexpr auto operationTimeout = std::chrono::seconds(5);
constexpr auto settleTime = std::chrono::seconds(2);

struct Options {
    int seconds = 5;
    int slow = 200;
    int hold = 15;
    std::string server = ORBELO_LOCAL_SERVER;
};

std::optional<Options> parse(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--seconds") && hasValue) {
            options.seconds = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--slow") && hasValue) {
            options.slow = std::max(0, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--hold") && hasValue) {
            options.hold = std::max(0, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--server") && hasValue) {
            options.server = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--seconds N] [--slow N] [--hold N] [--server PATH]\n", argv[0]);
            return std::nullopt;
        }
    }
    return options;
}

// The normal client on `io`: starts it after `delay` and runs `io` until its measurement is over
// and `holdUntil` has passed, or until the deadlines run out.
void measure(boost::asio::io_context& io, boost::asio::ssl::context& tls,
             const boost::asio::ip::tcp::endpoint& server, LoadTally& tally, std::chrono::seconds length,
             Clock::duration delay, Clock::time_point holdUntil) {
    tally.connections = 1;
    tally.onAllReady = [&] { tally.openWindow(length); };
    auto client =
        std::make_shared<LoadConnection>(io, tls, server, "/v1/environment", tally, operationTimeout);
    boost::asio::steady_timer startTimer(io, delay);
    startTimer.async_wait([client](boost::system::error_code) { client->start(); });

    const auto readyBy = Clock::now() + delay + readyTimeout;
    for (;;) {
        const bool opened = tally.windowEnd != Clock::time_point::max();
        const auto deadline = opened ? std::max(holdUntil, tally.windowEnd + drainTimeout) : readyBy;
        if (io.run_one_until(deadline) > 0)
            continue;
        if (opened || io.stopped())
            return;
        std::fprintf(stderr, "the normal client could not connect within %lld s; measuring anyway\n",
                     static_cast<long long>(readyTimeout.count()));
        tally.openWindow(length);
    }
}

void printClient(const char* label, LoadTally& tally) {
    std::printf("%-30s %9zu %9.2f %9.2f %9.2f %7ld\n", label, tally.latenciesMs.size(),
                tally.percentileMs(50), tally.percentileMs(99), tally.percentileMs(100), tally.errors);
}

// "first / median / last" of the times, or "-".
std::string spread(std::vector<double> times) {
    if (times.empty())
        return "-";
    std::sort(times.begin(), times.end());
    char text[64];
    std::snprintf(text, sizeof text, "%.1f / %.1f / %.1f", times.front(), times[times.size() / 2],
                  times.back());
    return text;
}

void printGroup(const SlowGroup& group) {
    std::string answers;
    for (const auto& [status, count] : group.answers)
        answers += std::to_string(count) + "x" + std::to_string(status) + " ";
    std::printf("%-24s %5d %5d %7zu %-20s %5zu %-20s %s\n", group.name.c_str(), group.count,
                group.established, group.refusedAt.size(), spread(group.refusedAt).c_str(),
                group.closedAt.size(), spread(group.closedAt).c_str(),
                answers.empty() ? "-" : answers.c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options)
        return 2;
    ServerProcess server;
    if (std::string error; !server.start(options->server, &error)) {
        std::fprintf(stderr, "cannot start the server: %s\n", error.c_str());
        return 1;
    }
    boost::asio::ssl::context tls = makeClientTls(server.certificate());
    const boost::asio::ip::tcp::endpoint endpoint(boost::asio::ip::make_address("127.0.0.1"), server.port());
    const std::chrono::seconds length(options->seconds);

    LoadTally alone;
    {
        boost::asio::io_context io;
        measure(io, tls, endpoint, alone, length, Clock::duration::zero(), Clock::now());
    }

    // A fifth idle before TLS, a fifth idle after it, two fifths dripping headers, the rest pipelining.
    std::vector<SlowGroup> groups(4);
    const SlowConnection::Kind kinds[] = {SlowConnection::Kind::idleTcp, SlowConnection::Kind::idleTls,
                                          SlowConnection::Kind::drippingHeaders,
                                          SlowConnection::Kind::unreadPipeline};
    groups[0] = {"idle before TLS", options->slow / 5};
    groups[1] = {"idle after TLS", options->slow / 5};
    groups[2] = {"dripping headers", options->slow * 2 / 5};
    groups[3] = {"pipelining, not reading",
                 options->slow - groups[0].count - groups[1].count - groups[2].count};

    LoadTally beside;
    const double rssBefore = server.residentMiB();
    const double cpuBefore = server.cpuSeconds();
    const auto phaseStart = Clock::now();
    double cores = 0;
    double rssHeld = 0;
    SocketQueues queues;
    {
        boost::asio::io_context io;
        std::vector<std::shared_ptr<SlowConnection>> slow;
        for (size_t kind = 0; kind < groups.size(); ++kind)
            for (int i = 0; i < groups[kind].count; ++i)
                slow.push_back(std::make_shared<SlowConnection>(io, tls, endpoint, kinds[kind], groups[kind],
                                                                phaseStart));
        for (const auto& connection : slow)
            connection->start();
        measure(io, tls, endpoint, beside, length, settleTime,
                phaseStart + std::chrono::seconds(options->hold));
        queues = SocketQueues::ofLocalPort(server.port());
        rssHeld = server.residentMiB();
        for (const auto& connection : slow)
            connection->stop();
        cores = (server.cpuSeconds() - cpuBefore) /
                std::chrono::duration<double>(Clock::now() - phaseStart).count();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - phaseStart).count();

    std::printf("Normal client: GET /v1/environment back to back over one keep-alive TLS connection, %d s\n",
                options->seconds);
    std::printf("%-30s %9s %9s %9s %9s %7s\n", "", "requests", "p50 ms", "p99 ms", "max ms", "errors");
    printClient("alone", alone);
    const std::string label = "beside " + std::to_string(options->slow) + " slow connections";
    printClient(label.c_str(), beside);

    std::printf("\nSlow connections, held %.0f s (times in s since they started connecting: first / median / "
                "last)\n",
                seconds);
    std::printf("%-24s %5s %5s %7s %-20s %5s %-20s %s\n", "kind", "count", "up", "refused", "at", "ended",
                "at", "answers before ending");
    for (const SlowGroup& group : groups)
        printGroup(group);
    std::printf("pipelined requests written: %ld, bursts held back by a full socket: %ld\n",
                groups[3].requestsWritten, groups[3].stalls);
    std::printf(
        "server: %.2f cores over the phase; resident %.0f MiB before, %.0f MiB at the end; in the kernel "
        "at the end, on %ld connections: %.1f MiB of answers not yet taken, %.1f MiB of requests not yet "
        "read\n",
        cores, rssBefore, rssHeld, queues.connections, queues.unsentBytes / 1048576.0,
        queues.unreadBytes / 1048576.0);
    return 0;
}
