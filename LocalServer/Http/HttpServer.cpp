#include "Http/HttpServer.h"

#include "Http/HttpSession.h"
#include "Http/ProxyHeader.h"

#include <QHash>
#include <QLoggingCategory>
#include <QThreadPool>
#include <array>
#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

Q_LOGGING_CATEGORY(lcHttpServer, "orbelo.server.http")

namespace net = boost::asio;
using boost::system::error_code;
using tcp = net::ip::tcp;

namespace {
// Connections past the cap still get a short "busy" answer, up to this many at a time; beyond
// that they are closed at once.
constexpr int maxRefusing = 64;
// After a failed accept (out of descriptors, say) the listener pauses rather than spinning.
constexpr std::chrono::milliseconds acceptPause{100};

// A balancer's connection while its PROXY line is read; never more than the longest line is read,
// so what follows the line stays for the TLS handshake.
struct ProxyLineReader {
    boost::beast::tcp_stream stream;
    QString proxy;
    std::array<char, ProxyHeader::maxBytes> bytes{};
    std::size_t filled = 0;

    ProxyLineReader(tcp::socket socket, QString proxy) : stream(std::move(socket)), proxy(std::move(proxy)) {}
};

} // namespace

struct HttpServer::Impl {
    struct Waiting {
        std::weak_ptr<HttpSession> session;
        QString peer;
    };

    // Declared before the I/O context: connections that end while it is destroyed still count
    // themselves out here.
    HttpSession::Host host;
    Handler handler;
    QStringList trustedProxies;
    // Guards the counts and lists below. Sessions are never closed or released under it: their
    // ends take it.
    std::mutex peersMutex;
    QHash<QString, int> connectionsPerPeer;
    int connections = 0;
    // Connections waiting for a request, by ticket: the oldest first.
    std::map<quint64, Waiting> waiting;
    quint64 lastTicket = 0;
    int anonymousRequests = 0;
    QHash<QString, int> requestsPerAccount;
    std::atomic<int> refusing{0};
    std::atomic<int> queued{0};
    std::atomic<bool> draining{false};
    // Requests from a whole head to the end of their answer, for drain() to wait on.
    std::mutex underWayMutex;
    std::condition_variable allAnswered;
    int underWay = 0;
    QThreadPool workers;

    std::unique_ptr<net::io_context> io;
    std::unique_ptr<net::executor_work_guard<net::io_context::executor_type>> work;
    net::ssl::context tls{net::ssl::context::tls_server};
    std::unique_ptr<tcp::acceptor> acceptor;
    std::unique_ptr<net::steady_timer> pause;
    std::vector<std::thread> threads;
    quint16 port = 0;

    void accept();
    // Reads a trusted balancer's PROXY line, then admits the connection as the client it names.
    void readProxyLine(tcp::socket socket, const QString& proxy);
    void readMoreOfProxyLine(const std::shared_ptr<ProxyLineReader>& reader);
    // `early`: bytes read past the PROXY line, the start of the TLS handshake.
    void admit(tcp::socket socket, const QString& peer, std::string early = {});
    bool dispatch(const std::shared_ptr<HttpSession>& session, ServerRequest request);
    quint64 beginWaiting(const std::shared_ptr<HttpSession>& session);
    bool endWaiting(quint64 ticket);
    std::shared_ptr<void> claimRequest(const QString& account);
    std::shared_ptr<void> beginRequest();
    // Every connection that waits for a request, taken off the list to be closed.
    std::vector<std::weak_ptr<HttpSession>> takeAllWaiting();
    // Takes the connection that has waited longest off the list (of `peer` alone when given), to be
    // closed once the lock is released; nothing when none waits. Called under peersMutex.
    std::optional<std::weak_ptr<HttpSession>> takeOldestWaiting(const QString& peer);
};

namespace {

void evict(const std::optional<std::weak_ptr<HttpSession>>& victim) {
    if (!victim)
        return;
    if (const auto session = victim->lock())
        session->evict();
}

} // namespace

void HttpServer::Impl::accept() {
    acceptor->async_accept(net::make_strand(*io), [this](error_code ec, tcp::socket socket) {
        if (ec == net::error::operation_aborted)
            return;
        if (ec) {
            qCWarning(lcHttpServer) << "accept failed:" << QString::fromStdString(ec.message());
            pause->expires_after(acceptPause);
            pause->async_wait([this](error_code waitError) {
                if (!waitError)
                    accept();
            });
            return;
        }
        error_code peerError;
        const QString peer = QString::fromStdString(socket.remote_endpoint(peerError).address().to_string());
        if (!peerError && trustedProxies.contains(peer))
            readProxyLine(std::move(socket), peer);
        else if (!peerError)
            admit(std::move(socket), peer);
        accept();
    });
}

void HttpServer::Impl::readProxyLine(tcp::socket socket, const QString& proxy) {
    auto reader = std::make_shared<ProxyLineReader>(std::move(socket), proxy);
    reader->stream.expires_after(std::chrono::milliseconds(host.limits.headerTimeoutMs));
    readMoreOfProxyLine(reader);
}

void HttpServer::Impl::readMoreOfProxyLine(const std::shared_ptr<ProxyLineReader>& reader) {
    reader->stream.async_read_some(
        net::buffer(reader->bytes.data() + reader->filled, reader->bytes.size() - reader->filled),
        [this, reader](error_code ec, std::size_t read) {
            if (ec)
                return;
            reader->filled += read;
            const ProxyHeader header =
                ProxyHeader::parse(std::string_view(reader->bytes.data(), reader->filled));
            if (header.outcome == ProxyHeader::Outcome::Incomplete)
                return readMoreOfProxyLine(reader);
            if (header.outcome == ProxyHeader::Outcome::Malformed) {
                qCInfo(lcHttpServer).noquote()
                    << "connection closed: no valid PROXY line from" << reader->proxy;
                reader->stream.close();
                return;
            }
            reader->stream.expires_never();
            const QString peer =
                header.source.empty() ? reader->proxy : QString::fromStdString(header.source);
            admit(reader->stream.release_socket(), peer,
                  std::string(reader->bytes.data() + header.length, reader->filled - header.length));
        });
}

void HttpServer::Impl::admit(tcp::socket socket, const QString& peer, std::string early) {
    error_code ec;
    bool admitted = false;
    std::optional<std::weak_ptr<HttpSession>> victim;
    {
        std::lock_guard lock(peersMutex);
        const bool peerFull = connectionsPerPeer.value(peer) >= host.limits.maxConnectionsPerPeer;
        // A connection that is only waiting gives way; the counts run over until it has closed.
        if (peerFull || connections >= host.limits.maxConnections)
            victim = takeOldestWaiting(peerFull ? peer : QString());
        admitted = victim || (!peerFull && connections < host.limits.maxConnections);
        if (admitted) {
            ++connections;
            ++connectionsPerPeer[peer];
        }
    }
    evict(victim);
    if (admitted) {
        socket.set_option(net::socket_base::send_buffer_size(host.limits.socketSendBufferBytes), ec);
        // Every answer leaves in one write; Nagle would hold its last segment back until the
        // client's delayed ACK (40 ms) for answers of more than a few segments.
        socket.set_option(tcp::no_delay(true), ec);
        std::make_shared<HttpSession>(std::move(socket), tls, host, false, peer, std::move(early),
                                      [this, peer] {
                                          std::lock_guard lock(peersMutex);
                                          --connections;
                                          if (--connectionsPerPeer[peer] <= 0)
                                              connectionsPerPeer.remove(peer);
                                      })
            ->start();
        return;
    }
    if (refusing.fetch_add(1) >= maxRefusing) {
        --refusing;
        socket.close(ec);
        return;
    }
    qCInfo(lcHttpServer).noquote() << "connection refused: the server is full";
    std::make_shared<HttpSession>(std::move(socket), tls, host, true, peer, std::move(early), [this] {
        --refusing;
    })->start();
}

std::optional<std::weak_ptr<HttpSession>> HttpServer::Impl::takeOldestWaiting(const QString& peer) {
    for (auto it = waiting.begin(); it != waiting.end(); ++it) {
        if (peer.isEmpty() || it->second.peer == peer) {
            std::weak_ptr<HttpSession> session = std::move(it->second.session);
            waiting.erase(it);
            return session;
        }
    }
    return std::nullopt;
}

quint64 HttpServer::Impl::beginWaiting(const std::shared_ptr<HttpSession>& session) {
    std::optional<std::weak_ptr<HttpSession>> victim;
    quint64 ticket = 0;
    if (draining) {
        // Past drain()'s sweep: nothing more is served on it.
        session->evict();
        return ticket;
    }
    {
        std::lock_guard lock(peersMutex);
        if (int(waiting.size()) >= host.limits.maxWaitingConnections)
            victim = takeOldestWaiting({});
        ticket = ++lastTicket;
        waiting.emplace(ticket, Waiting{session, session->peerName()});
    }
    evict(victim);
    return ticket;
}

bool HttpServer::Impl::endWaiting(quint64 ticket) {
    std::lock_guard lock(peersMutex);
    return waiting.erase(ticket) == 1;
}

std::shared_ptr<void> HttpServer::Impl::claimRequest(const QString& account) {
    std::lock_guard lock(peersMutex);
    const bool anonymous = account.isEmpty();
    int& used = anonymous ? anonymousRequests : requestsPerAccount[account];
    if (used >= (anonymous ? host.limits.maxAnonymousRequests : host.limits.maxRequestsPerAccount)) {
        if (used == 0)
            requestsPerAccount.remove(account);
        return nullptr;
    }
    ++used;
    // Points at the server only to be non-null; the deleter gives the slot back.
    return std::shared_ptr<void>(this, [this, account](void*) {
        std::lock_guard lock(peersMutex);
        if (account.isEmpty())
            --anonymousRequests;
        else if (--requestsPerAccount[account] <= 0)
            requestsPerAccount.remove(account);
    });
}

std::shared_ptr<void> HttpServer::Impl::beginRequest() {
    {
        std::lock_guard lock(underWayMutex);
        ++underWay;
    }
    return std::shared_ptr<void>(this, [this](void*) {
        std::lock_guard lock(underWayMutex);
        if (--underWay == 0)
            allAnswered.notify_all();
    });
}

std::vector<std::weak_ptr<HttpSession>> HttpServer::Impl::takeAllWaiting() {
    std::lock_guard lock(peersMutex);
    std::vector<std::weak_ptr<HttpSession>> sessions;
    for (auto& [ticket, entry] : waiting)
        sessions.push_back(std::move(entry.session));
    waiting.clear();
    return sessions;
}

bool HttpServer::Impl::dispatch(const std::shared_ptr<HttpSession>& session, ServerRequest request) {
    if (queued.fetch_add(1) >= host.limits.maxQueuedRequests) {
        --queued;
        return false;
    }
    workers.start([this, session, request = std::move(request)] {
        --queued;
        handler(request, Responder(session));
    });
    return true;
}

HttpServer::Responder::Responder(std::shared_ptr<HttpSession> session) : session_(std::move(session)) {}

void HttpServer::Responder::send(const ServerResponse& response, int delayMs) const {
    session_->respond(response, delayMs);
}

HttpServer::HttpServer(HttpLimits limits, Handler handler, Screen screen) : impl_(std::make_unique<Impl>()) {
    impl_->host.limits = limits;
    impl_->host.screen = std::move(screen);
    Impl* impl = impl_.get();
    impl_->host.beginWaiting = [impl](const std::shared_ptr<HttpSession>& session) {
        return impl->beginWaiting(session);
    };
    impl_->host.endWaiting = [impl](quint64 ticket) { return impl->endWaiting(ticket); };
    impl_->host.claimRequest = [impl](const QString& account) { return impl->claimRequest(account); };
    impl_->host.beginRequest = [impl] { return impl->beginRequest(); };
    impl_->host.draining = &impl_->draining;
    impl_->host.dispatch = [impl = impl_.get()](const std::shared_ptr<HttpSession>& session,
                                                ServerRequest request) {
        return impl->dispatch(session, std::move(request));
    };
    impl_->handler = std::move(handler);
    impl_->workers.setMaxThreadCount(limits.workerThreads);
    impl_->workers.setExpiryTimeout(-1);
}

HttpServer::~HttpServer() {
    close();
}

bool HttpServer::listen(const QString& address, quint16 port, const QByteArray& certificatePem,
                        const QByteArray& keyPem, QString* error) {
    Impl& d = *impl_;
    error_code ec;
    d.tls.set_options(net::ssl::context::default_workarounds | net::ssl::context::no_sslv2 |
                      net::ssl::context::no_sslv3 | net::ssl::context::no_tlsv1 |
                      net::ssl::context::no_tlsv1_1);
    d.tls.use_certificate_chain(net::buffer(certificatePem.constData(), std::size_t(certificatePem.size())),
                                ec);
    if (!ec)
        d.tls.use_private_key(net::buffer(keyPem.constData(), std::size_t(keyPem.size())),
                              net::ssl::context::pem, ec);
    if (ec) {
        *error = "TLS identity: " + QString::fromStdString(ec.message());
        return false;
    }
    d.io = std::make_unique<net::io_context>(d.host.limits.ioThreads);
    d.work = std::make_unique<net::executor_work_guard<net::io_context::executor_type>>(d.io->get_executor());
    d.pause = std::make_unique<net::steady_timer>(*d.io);
    d.acceptor = std::make_unique<tcp::acceptor>(*d.io);
    const auto ip = net::ip::make_address(address.toStdString(), ec);
    if (ec) {
        *error = "not an IP address: " + address;
        return false;
    }
    const tcp::endpoint endpoint(ip, port);
    d.acceptor->open(endpoint.protocol(), ec);
    if (!ec)
        d.acceptor->set_option(net::socket_base::reuse_address(true), ec);
    if (!ec)
        d.acceptor->bind(endpoint, ec);
    if (!ec)
        d.acceptor->listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
        *error = QString::fromStdString(ec.message());
        d.acceptor.reset();
        return false;
    }
    d.port = d.acceptor->local_endpoint().port();
    return true;
}

void HttpServer::trustProxies(const QStringList& addresses) {
    impl_->trustedProxies = addresses;
}

void HttpServer::serve() {
    Impl& d = *impl_;
    d.accept();
    for (int i = 0; i < d.host.limits.ioThreads; ++i)
        d.threads.emplace_back([io = d.io.get()] { io->run(); });
}

quint16 HttpServer::port() const {
    return impl_->port;
}

void HttpServer::stopAccepting() {
    Impl& d = *impl_;
    if (!d.io || d.threads.empty() || d.draining.exchange(true))
        return;
    // The acceptor belongs to the I/O threads.
    std::promise<void> closed;
    net::post(*d.io, [&d, &closed] {
        error_code ignored;
        d.acceptor->close(ignored);
        d.pause->cancel();
        closed.set_value();
    });
    closed.get_future().wait();
    for (const std::weak_ptr<HttpSession>& session : d.takeAllWaiting())
        evict(session);
}

bool HttpServer::waitForAnswers(int timeoutMs) {
    Impl& d = *impl_;
    std::unique_lock lock(d.underWayMutex);
    return d.allAnswered.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&d] { return d.underWay == 0; });
}

void HttpServer::close() {
    Impl& d = *impl_;
    if (!d.io)
        return;
    d.io->stop();
    for (std::thread& thread : d.threads)
        thread.join();
    d.threads.clear();
    // Handlers still running may post answers; the stopped context only queues them.
    d.workers.waitForDone();
    d.acceptor.reset();
    d.pause.reset();
    d.work.reset();
    d.io.reset();
}
