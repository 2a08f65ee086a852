#include "HttpSession.h"

#include "HttpFraming.h"
#include "WebSocketConnection.h"

#include <QUrl>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/bind_handler.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/websocket/rfc6455.hpp>
#include <limits>

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using boost::system::error_code;

namespace {

constexpr std::size_t readChunk = 16 * 1024;
constexpr std::chrono::seconds shutdownTimeout{2};

std::chrono::milliseconds ms(int value) {
    return std::chrono::milliseconds(value);
}

QByteArray toBytes(beast::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

// The answer when the server has no room for a connection or a request.
ServerResponse busy() {
    ServerResponse response = ServerResponse::apiError(503, "The server is busy; try again shortly.");
    response.setHeader("Retry-After", "1");
    return response;
}

} // namespace

HttpSession::HttpSession(net::ip::tcp::socket socket, net::ssl::context& tls, const Host& host, bool refuse,
                         std::function<void()> onEnd)
    : stream_(std::move(socket), tls), host_(host), refuse_(refuse), onEnd_(std::move(onEnd)) {
    error_code ec;
    const auto endpoint = beast::get_lowest_layer(stream_).socket().remote_endpoint(ec);
    if (!ec)
        peer_ = QHostAddress(QString::fromStdString(endpoint.address().to_string()));
}

HttpSession::~HttpSession() {
    if (onEnd_)
        onEnd_();
}

void HttpSession::start() {
    beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.handshakeTimeoutMs));
    stream_.async_handshake(net::ssl::stream_base::server, [self = shared_from_this()](error_code ec) {
        if (ec)
            return self->close();
        if (self->refuse_) {
            self->keepAlive_ = false;
            return self->write(busy());
        }
        self->waitForRequest();
    });
}

// Waits, within the idle time, for the first byte of the next request; from then on the
// header block has its own deadline.
void HttpSession::waitForRequest() {
    parser_.emplace();
    parser_->header_limit(std::uint32_t(host_.limits.maxHeaderBytes));
    // The route's own limit is set once the header is known; Content-Length is checked then.
    parser_->body_limit(std::numeric_limits<std::uint64_t>::max());
    scanned_ = 0;
    if (buffer_.size() > 0) {
        headerDeadline_ = Clock::now() + ms(host_.limits.headerTimeoutMs);
        return readHeader();
    }
    const int waitMs = firstRequest_ ? host_.limits.headerTimeoutMs : host_.limits.idleTimeoutMs;
    beast::get_lowest_layer(stream_).expires_after(ms(waitMs));
    stream_.async_read_some(buffer_.prepare(readChunk),
                            [self = shared_from_this()](error_code ec, std::size_t bytes) {
                                if (ec)
                                    return self->close();
                                self->buffer_.commit(bytes);
                                self->headerDeadline_ = Clock::now() + ms(self->host_.limits.headerTimeoutMs);
                                self->readHeader();
                            });
}

void HttpSession::readHeader() {
    const auto data = buffer_.data();
    const std::string_view received(static_cast<const char*>(data.data()), data.size());
    if (const std::size_t end = HttpFraming::headerEnd(received, scanned_))
        return processHeader(end);
    scanned_ = received.size();
    if (received.size() > host_.limits.maxHeaderBytes)
        return fail(431);
    beast::get_lowest_layer(stream_).expires_at(headerDeadline_);
    stream_.async_read_some(buffer_.prepare(readChunk),
                            [self = shared_from_this()](error_code ec, std::size_t bytes) {
                                if (ec)
                                    return self->close();
                                self->buffer_.commit(bytes);
                                self->readHeader();
                            });
}

void HttpSession::processHeader(std::size_t headerBytes) {
    if (headerBytes > host_.limits.maxHeaderBytes)
        return fail(431);
    const auto data = buffer_.data();
    const std::string_view block(static_cast<const char*>(data.data()), headerBytes);
    if (const int status = HttpFraming::check(block, host_.limits.maxHeaderFields))
        return fail(status);
    error_code ec;
    const std::size_t used = parser_->put(net::buffer(block.data(), block.size()), ec);
    if (ec || !parser_->is_header_done())
        return fail(400);
    buffer_.consume(used);

    const auto& head = parser_->get();
    const QString path = QUrl(QString::fromUtf8(toBytes(head.target()))).path();
    const qint64 limit = host_.bodyLimit(toBytes(head.method_string()), path);
    if (parser_->content_length() && *parser_->content_length() > std::uint64_t(limit))
        return fail(413);
    parser_->body_limit(std::uint64_t(limit));
    keepAlive_ = parser_->keep_alive();
    firstRequest_ = false;
    if (!parser_->is_done() && buffer_.size() == 0 &&
        beast::iequals(head[http::field::expect], "100-continue")) {
        static const std::string continueLine = "HTTP/1.1 100 Continue\r\n\r\n";
        beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.writeTimeoutMs));
        return net::async_write(stream_, net::buffer(continueLine),
                                [self = shared_from_this()](error_code ec, std::size_t) {
                                    if (ec)
                                        return self->close();
                                    self->readBody();
                                });
    }
    readBody();
}

void HttpSession::readBody() {
    if (parser_->is_done())
        return dispatch();
    beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.bodyTimeoutMs));
    http::async_read(stream_, buffer_, *parser_, [self = shared_from_this()](error_code ec, std::size_t) {
        if (ec == http::error::body_limit)
            return self->fail(413);
        if (ec == beast::error::timeout || ec == net::error::eof || ec == net::ssl::error::stream_truncated ||
            ec == net::error::connection_reset || ec == net::error::operation_aborted)
            return self->close();
        if (ec)
            return self->fail(400);
        self->dispatch();
    });
}

void HttpSession::dispatch() {
    auto message = parser_->release();
    ServerRequest request;
    request.upgrade = websocket::is_upgrade(message);
    upgradeRequest_ = request.upgrade ? std::make_shared<http::request<http::string_body>>(message) : nullptr;
    request.method = toBytes(message.method_string());
    headRequest_ = request.method == "HEAD";
    const QUrl target(QString::fromUtf8(toBytes(message.target())));
    request.path = target.path();
    request.query = QUrlQuery(target.query(QUrl::FullyEncoded));
    for (const auto& field : message)
        request.headers.insert(toBytes(field.name_string()).toLower(), toBytes(field.value()).trimmed());
    request.body = QByteArray(message.body().data(), qsizetype(message.body().size()));
    request.peer = peer_;
    parser_.reset();
    // Nothing is read while the request is with a worker; the answer restarts reading.
    beast::get_lowest_layer(stream_).expires_never();
    if (!host_.dispatch(shared_from_this(), std::move(request)))
        write(busy());
}

void HttpSession::respond(ServerResponse response, int delayMs) {
    auto self = shared_from_this();
    if (delayMs <= 0) {
        net::post(stream_.get_executor(), [self, response = std::move(response)] { self->write(response); });
        return;
    }
    auto timer = std::make_shared<net::steady_timer>(stream_.get_executor(), ms(delayMs));
    timer->async_wait([self, timer, response = std::move(response)](error_code) { self->write(response); });
}

void HttpSession::write(const ServerResponse& response) {
    if (response.drop)
        return close();
    if (response.upgrade && upgradeRequest_)
        return upgrade(response.upgrade);
    upgradeRequest_.reset();
    const QByteArray wire = response.serialize(keepAlive_, !headRequest_);
    out_.assign(wire.constData(), std::size_t(wire.size()));
    beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.writeTimeoutMs));
    net::async_write(stream_, net::buffer(out_), [self = shared_from_this()](error_code ec, std::size_t) {
        self->out_.clear();
        self->out_.shrink_to_fit();
        if (ec)
            return self->close();
        if (!self->keepAlive_)
            return self->shutdown();
        self->waitForRequest();
    });
}

void HttpSession::upgrade(const ServerResponse::Upgrade& open) {
    // The WebSocket keeps its own time: the handshake's deadline, then pings instead of an idle
    // timeout, so a quiet stream lives as long as its client answers.
    beast::get_lowest_layer(stream_).expires_never();
    auto connection = std::make_shared<WebSocketConnection>(std::move(stream_), shared_from_this());
    WebSocketStream& socket = connection->stream;
    websocket::stream_base::timeout timeout;
    timeout.handshake_timeout = ms(host_.limits.handshakeTimeoutMs);
    timeout.idle_timeout = ms(2 * host_.limits.webSocketPingIntervalMs);
    timeout.keep_alive_pings = true;
    socket.set_option(timeout);
    socket.read_message_max(host_.limits.maxWebSocketMessageBytes);
    auto request = std::move(upgradeRequest_);
    socket.async_accept(*request, [connection, request, open](error_code ec) {
        if (!ec)
            open(connection);
    });
}

void HttpSession::fail(int status) {
    keepAlive_ = false;
    parser_.reset();
    write(ServerResponse::empty(status));
}

void HttpSession::shutdown() {
    beast::get_lowest_layer(stream_).expires_after(shutdownTimeout);
    stream_.async_shutdown([self = shared_from_this()](error_code) { self->close(); });
}

void HttpSession::close() {
    error_code ignored;
    beast::get_lowest_layer(stream_).socket().shutdown(net::ip::tcp::socket::shutdown_both, ignored);
    beast::get_lowest_layer(stream_).close();
}
