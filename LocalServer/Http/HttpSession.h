#pragma once

#include "Http/HeadVerdict.h"
#include "Http/HttpLimits.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <atomic>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/file_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// One TLS connection: reads one request at a time, hands it to a worker and reads the next only
// once the answer has been written, so a client that does not read its answers stops being read
// from and holds at most one answer in memory (a file's answer: one chunk of it). Its head is
// judged before any of its body is read. Runs on its own strand.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    // What the server lends every connection; it outlives them all.
    struct Host {
        HttpLimits limits;
        std::function<HeadVerdict(const ServerRequest& head)> screen;
        // Queues the request for a worker; false when the queue is full.
        std::function<bool(const std::shared_ptr<HttpSession>&, ServerRequest)> dispatch;
        // Lists the connection as waiting for a request, which may close the one that has waited
        // longest; answers its ticket.
        std::function<quint64(const std::shared_ptr<HttpSession>&)> beginWaiting;
        // Takes the ticket off the list; false when its connection was closed to make room.
        std::function<bool(quint64 ticket)> endWaiting;
        // One of the account's request slots (the anonymous ones for an empty account), free again
        // once dropped; null when all are taken.
        std::function<std::shared_ptr<void>(const QString& account)> claimRequest;
        // Counts a request as under way until the handle is dropped, when its answer has left.
        std::function<std::shared_ptr<void>()> beginRequest;
        // Set once the server stops: answers close their connections.
        const std::atomic<bool>* draining = nullptr;
    };

    // `refuse`: the server is full; the connection is answered 503 and closed. `peer`: the client's
    // address (a balancer's PROXY line may have named it); `early`: bytes already read from the
    // socket, the start of the TLS handshake. `onEnd` runs when the connection is gone.
    HttpSession(boost::asio::ip::tcp::socket socket, boost::asio::ssl::context& tls, const Host& host,
                bool refuse, const QString& peer, std::string early, std::function<void()> onEnd);
    ~HttpSession();

    void start();
    // Thread-safe: the answer is written on the connection's strand, after `delayMs`.
    void respond(ServerResponse response, int delayMs);
    // Thread-safe: closes the connection to make room for others.
    void evict();
    const QString& peerName() const { return peerName_; }

private:
    using Clock = std::chrono::steady_clock;

    void waitForRequest();
    void readHeader();
    void processHeader(std::size_t headerBytes);
    // From the judged head: where the body goes, or the refusal.
    void admit(const HeadVerdict& verdict);
    void readBody();
    template <class Parser> void readBodyInto(Parser& parser);
    void dispatch();
    void write(const ServerResponse& response);
    // Writes out_, then the rest of a file body chunk by chunk.
    void writeOut();
    void answered();
    void refuse(const ServerResponse& response);
    // Answers the upgrade request with the WebSocket handshake and hands the connection over.
    void upgrade(const ServerResponse::Upgrade& open);
    void fail(int status);
    void shutdown();
    void close();

    boost::beast::ssl_stream<boost::beast::tcp_stream> stream_;
    const Host& host_;
    bool refuse_;
    std::function<void()> onEnd_;
    QHostAddress peer_;
    QString peerName_;
    std::string early_;
    boost::beast::flat_buffer buffer_;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
    // Instead of parser_ once the head is known, for a body that goes to disk.
    std::optional<boost::beast::http::request_parser<boost::beast::http::file_body>> fileParser_;
    // The request being read or answered, from its head on.
    ServerRequest request_;
    // Where its body went, deleted once it has been answered.
    QString spooled_;
    quint64 waitingTicket_ = 0;
    std::shared_ptr<void> requestSlot_;
    // Held from a whole request to the end of its answer, for a stop to wait on.
    std::shared_ptr<void> underWay_;
    // The file body being written and how much of it is still to go.
    std::shared_ptr<QFile> sending_;
    qint64 sendLeft_ = 0;
    // The request being answered, when it asks for a WebSocket.
    std::shared_ptr<boost::beast::http::request<boost::beast::http::string_body>> upgradeRequest_;
    std::size_t scanned_ = 0;
    Clock::time_point headerDeadline_;
    bool firstRequest_ = true;
    bool keepAlive_ = true;
    // The request being answered is a HEAD: its answer has headers only.
    bool headRequest_ = false;
    std::string out_;
};
