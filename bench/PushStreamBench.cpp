// Fan-out of the push stream: 1,000 devices of one user hold streams to an in-process local server
// over loopback TLS; each iteration posts one notification and ends when the last stream has
// received it. The streams are opened before timing. Run by hand, never by ctest.
#include "LocalServerBench.h"
#include "Notifications/DeviceStore.h"
#include "Notifications/NotificationHub.h"
#include "Push/PushStreams.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/field.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <boost/beast/websocket/stream.hpp>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using boost::system::error_code;

constexpr int devices = 1000;
// Handshakes in flight at once while the streams are opened.
constexpr int openers = 16;

TestServer* server = nullptr;
TestServer::Device owner;

// The client side: every stream on one I/O thread, counting the messages that arrive.
struct Streams {
    using Stream = websocket::stream<beast::ssl_stream<beast::tcp_stream>>;
    struct Client {
        Stream stream;
        beast::flat_buffer buffer;
        Client(net::io_context& io, net::ssl::context& tls) : stream(io, tls) {}
    };

    net::io_context io;
    net::ssl::context tls{net::ssl::context::tls_client};
    std::vector<std::unique_ptr<Client>> clients;
    std::vector<std::string> authorizations;
    std::thread thread;
    std::atomic<int> opened{0};
    std::atomic<int> failed{0};
    std::atomic<int> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    int received = 0;

    // The server has stopped by now, which ends every read and with them the I/O thread.
    ~Streams() {
        io.stop();
        if (thread.joinable())
            thread.join();
    }
    void open(int index);
    void read(Client& client);
    void bump(std::atomic<int>& counter) {
        ++counter;
        std::lock_guard lock(mutex);
        changed.notify_all();
    }
};

Streams* streams = nullptr;

void Streams::open(int index) {
    if (index >= devices)
        return;
    Client& client = *clients[std::size_t(index)];
    // Beast's decorator storage does not destroy what a lambda captures: it refers to the string.
    const std::string& authorization = authorizations[std::size_t(index)];
    client.stream.set_option(
        websocket::stream_base::decorator([&authorization](websocket::request_type& request) {
            request.set(beast::http::field::authorization, authorization);
        }));
    const auto done = [this](bool ok) {
        bump(ok ? opened : failed);
        open(next++);
    };
    beast::get_lowest_layer(client.stream)
        .async_connect(net::ip::tcp::endpoint(net::ip::address_v4::loopback(), server->server().port()),
                       [this, &client, done](error_code ec) {
                           if (ec)
                               return done(false);
                           client.stream.next_layer().async_handshake(
                               net::ssl::stream_base::client, [this, &client, done](error_code ec) {
                                   if (ec)
                                       return done(false);
                                   client.stream.async_handshake("127.0.0.1", "/api/mobile/push/stream",
                                                                 [this, &client, done](error_code ec) {
                                                                     if (!ec)
                                                                         read(client);
                                                                     done(!ec);
                                                                 });
                               });
                       });
}

void Streams::read(Client& client) {
    client.stream.async_read(client.buffer, [this, &client](error_code ec, std::size_t) {
        if (ec)
            return;
        client.buffer.clear();
        {
            std::lock_guard lock(mutex);
            ++received;
        }
        changed.notify_all();
        read(client);
    });
}

void BM_FanOutToThousandDevices(benchmark::State& state) {
    ServerContext& context = server->server().context();
    int round = 0;
    for (auto _ : state) {
        {
            std::lock_guard lock(streams->mutex);
            streams->received = 0;
        }
        NotificationStore::Draft draft{
            NotificationHub::studyTask, "Time to study", QStringLiteral("Round %1").arg(++round), {}, {}, {}};
        if (!context.notifications->post(owner.userId, draft)) {
            state.SkipWithError("the notification was not stored");
            break;
        }
        std::unique_lock lock(streams->mutex);
        if (!streams->changed.wait_for(lock, std::chrono::seconds(30),
                                       [] { return streams->received >= devices; })) {
            state.SkipWithError("not every stream received the notification");
            break;
        }
    }
    state.counters["streams"] = double(context.pushStreams->openCount());
}

bool setUp() {
    // Every client shares the loopback address; the caps of a real server would refuse most of them.
    server->options().http.maxConnections = 2 * devices;
    server->options().http.maxConnectionsPerPeer = 2 * devices;
    if (!server->start())
        return false;
    owner = server->signUp("fanout@example.com", "many-devices-1");
    ServerContext& context = server->server().context();
    static Streams instance;
    streams = &instance;
    instance.tls.load_verify_file(server->server().certificatePath().toStdString());
    instance.tls.set_verify_mode(net::ssl::verify_peer);
    context.db.transaction();
    for (int i = 0; i < devices; ++i) {
        const QString token = QStringLiteral("%1").arg(i, 64, 16, QLatin1Char('0'));
        instance.authorizations.push_back("Device " + token.toStdString());
        DeviceStore(context).registerDevice(owner.userId, owner.sessionId, {token, "linux", {}},
                                            context.nowMs());
        instance.clients.push_back(std::make_unique<Streams::Client>(instance.io, instance.tls));
    }
    if (!context.db.commit())
        return false;
    instance.next = openers;
    for (int i = 0; i < openers; ++i)
        net::post(instance.io, [i] { streams->open(i); });
    // Each stream keeps a read pending, so the thread runs until the streams end.
    instance.thread = std::thread([] { streams->io.run(); });
    std::unique_lock lock(instance.mutex);
    instance.changed.wait_for(lock, std::chrono::seconds(120),
                              [] { return streams->opened + streams->failed >= devices; });
    return streams->opened == devices && context.pushStreams->openCount() == devices;
}

} // namespace

int main(int argc, char** argv) {
    return runLocalServerBenchmarks(argc, argv, server, setUp, "its 1,000 push streams",
                                    {{"BM_FanOutToThousandDevices", BM_FanOutToThousandDevices}});
}
