#pragma once

#include "HttpLimits.h"
#include "ServerRequest.h"
#include "ServerResponse.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
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
// from and holds at most one answer in memory. Runs on its own strand.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    // What the server lends every connection; it outlives them all.
    struct Host {
        HttpLimits limits;
        std::function<qint64(const QByteArray& method, const QString& path)> bodyLimit;
        // Queues the request for a worker; false when the queue is full.
        std::function<bool(const std::shared_ptr<HttpSession>&, ServerRequest)> dispatch;
    };

    // `refuse`: the server is full; the connection is answered 503 and closed. `onEnd` runs when
    // the connection is gone.
    HttpSession(boost::asio::ip::tcp::socket socket, boost::asio::ssl::context& tls, const Host& host,
                bool refuse, std::function<void()> onEnd);
    ~HttpSession();

    void start();
    // Thread-safe: the answer is written on the connection's strand, after `delayMs`.
    void respond(ServerResponse response, int delayMs);

private:
    using Clock = std::chrono::steady_clock;

    void waitForRequest();
    void readHeader();
    void processHeader(std::size_t headerBytes);
    void readBody();
    void dispatch();
    void write(const ServerResponse& response);
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
    boost::beast::flat_buffer buffer_;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
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
