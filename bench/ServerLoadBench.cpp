// Throughput and latency of the local server under keep-alive load: for each level of concurrent
// TLS connections, `GET /v1/environment` back to back on every connection for a fixed time. One
// client thread drives all connections with asynchronous I/O, so that the load generator takes a
// single core and leaves the others to the server. Prints per level the answers per second, the
// median and 99th-percentile latency, the errors, and the CPU time of the server and of this
// process divided by the wall time (above 1.0 the server uses more than one core).
//
//   bench_ServerLoad [--seconds N] [--connections 1,8,32,128] [--server <orbelo-local-server>]
#include "ClientTls.h"
#include "LoadConnection.h"
#include "LoadTally.h"
#include "ServerProcess.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/address.hpp>
#include <boost/asio/steady_timer.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

using Clock = LoadTally::Clock;

// How long the connections of a level may take to connect before the window opens regardless, how
// long requests in flight at its end may take, and how long one operation may take.
constexpr auto readyTimeout = std::chrono::seconds(30);
constexpr auto drainTimeout = std::chrono::seconds(5);
constexpr auto operationTimeout = std::chrono::seconds(10);

struct Options {
    int seconds = 5;
    std::vector<int> levels{1, 8, 32, 128};
    std::string server = ORBELO_LOCAL_SERVER;
};

std::optional<Options> parse(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--seconds") && hasValue) {
            options.seconds = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--connections") && hasValue) {
            options.levels.clear();
            std::istringstream list(argv[++i]);
            for (std::string level; std::getline(list, level, ',');)
                if (std::atoi(level.c_str()) > 0)
                    options.levels.push_back(std::atoi(level.c_str()));
        } else if (!std::strcmp(argv[i], "--server") && hasValue) {
            options.server = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--seconds N] [--connections 1,8,32,128] [--server PATH]\n",
                         argv[0]);
            return std::nullopt;
        }
    }
    return options;
}

double ownCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Level {
    int connections = 0;
    double requestsPerSecond = 0;
    double p50 = 0;
    double p99 = 0;
    long errors = 0;
    double serverCores = 0;
    double clientCores = 0;
};

Level run(const ServerProcess& server, boost::asio::ssl::context& tls, int connections,
          std::chrono::seconds length) {
    LoadTally tally;
    tally.connections = connections;
    boost::asio::io_context io;
    boost::asio::steady_timer windowEnd(io);
    double serverCpu = 0, clientCpu = 0;
    const auto open = [&] {
        if (tally.windowEnd != Clock::time_point::max())
            return;
        tally.openWindow(length);
        serverCpu = server.cpuSeconds();
        clientCpu = ownCpuSeconds();
        windowEnd.expires_at(tally.windowEnd);
        windowEnd.async_wait([&](boost::system::error_code) {
            const double wall = std::chrono::duration<double>(Clock::now() - tally.windowStart).count();
            serverCpu = (server.cpuSeconds() - serverCpu) / wall;
            clientCpu = (ownCpuSeconds() - clientCpu) / wall;
        });
    };
    tally.onAllReady = open;

    const boost::asio::ip::tcp::endpoint endpoint(boost::asio::ip::make_address("127.0.0.1"), server.port());
    for (int i = 0; i < connections; ++i)
        std::make_shared<LoadConnection>(io, tls, endpoint, "/v1/environment", tally, operationTimeout)
            ->start();

    const auto readyBy = Clock::now() + readyTimeout;
    for (;;) {
        const bool opened = tally.windowEnd != Clock::time_point::max();
        if (io.run_one_until(opened ? tally.windowEnd + drainTimeout : readyBy) > 0)
            continue;
        if (opened || io.stopped())
            break;
        std::fprintf(stderr, "%d of %d connections ready after %lld s; measuring anyway\n", tally.ready,
                     connections, static_cast<long long>(readyTimeout.count()));
        open();
    }

    Level level;
    level.connections = connections;
    level.requestsPerSecond = double(tally.completed) / double(length.count());
    level.p50 = tally.percentileMs(50);
    level.p99 = tally.percentileMs(99);
    level.errors = tally.errors;
    level.serverCores = serverCpu;
    level.clientCores = clientCpu;
    return level;
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

    std::printf("Server load: GET /v1/environment back to back over keep-alive TLS connections, %d s per "
                "level, one client thread\n",
                options->seconds);
    std::printf("%11s %12s %9s %9s %8s %13s %13s\n", "connections", "requests/s", "p50 ms", "p99 ms",
                "errors", "server cores", "client cores");
    for (int connections : options->levels) {
        const Level level = run(server, tls, connections, std::chrono::seconds(options->seconds));
        std::printf("%11d %12.0f %9.2f %9.2f %8ld %13.2f %13.2f\n", level.connections,
                    level.requestsPerSecond, level.p50, level.p99, level.errors, level.serverCores,
                    level.clientCores);
        std::fflush(stdout);
    }
    return 0;
}
