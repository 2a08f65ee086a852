#include "Http/HttpSession.h"

#include "Http/HttpFraming.h"
#include "Http/WebSocketConnection.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QUrl>
#include <algorithm>
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
// How much of a file body is in memory at a time.
constexpr qint64 fileChunk = 64 * 1024;
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

// A percent-decoded NUL or other control character would cut a file name short or split a log
// line; no route has one in its paths.
bool hasControlCharacter(const QString& path) {
    return std::any_of(path.begin(), path.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

} // namespace

HttpSession::HttpSession(net::ip::tcp::socket socket, net::ssl::context& tls, const Host& host, bool refuse,
                         const QString& peer, std::string early, std::function<void()> onEnd)
    : stream_(std::move(socket), tls), host_(host), refuse_(refuse), onEnd_(std::move(onEnd)), peer_(peer),
      peerName_(peer), early_(std::move(early)) {}

HttpSession::~HttpSession() {
    if (waitingTicket_)
        host_.endWaiting(waitingTicket_);
    if (!spooled_.isEmpty())
        QFile::remove(spooled_);
    if (onEnd_)
        onEnd_();
}

void HttpSession::start() {
    if (!refuse_)
        waitingTicket_ = host_.beginWaiting(shared_from_this());
    beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.handshakeTimeoutMs));
    const auto handshaken = [self = shared_from_this()](error_code ec) {
        self->early_.clear();
        self->early_.shrink_to_fit();
        if (ec)
            return self->close();
        if (self->refuse_) {
            self->keepAlive_ = false;
            return self->write(busy());
        }
        self->waitForRequest();
    };
    if (early_.empty())
        return stream_.async_handshake(net::ssl::stream_base::server, handshaken);
    stream_.async_handshake(net::ssl::stream_base::server, net::buffer(early_),
                            [handshaken](error_code ec, std::size_t) { handshaken(ec); });
}

// Waits, within the idle time, for the first byte of the next request; from then on the
// header block has its own deadline.
void HttpSession::waitForRequest() {
    if (!waitingTicket_)
        waitingTicket_ = host_.beginWaiting(shared_from_this());
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
    // No longer waiting, unless this connection was closed to make room meanwhile.
    if (!host_.endWaiting(std::exchange(waitingTicket_, 0)))
        return close();
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
    request_ = ServerRequest();
    request_.method = toBytes(head.method_string());
    const QUrl target(QString::fromUtf8(toBytes(head.target())));
    request_.path = target.path();
    if (hasControlCharacter(request_.path))
        return fail(400);
    request_.query = QUrlQuery(target.query(QUrl::FullyEncoded));
    for (const auto& field : head)
        request_.headers.insert(toBytes(field.name_string()).toLower(), toBytes(field.value()).trimmed());
    request_.peer = peer_;
    request_.upgrade = websocket::is_upgrade(head);
    headRequest_ = request_.method == "HEAD";
    keepAlive_ = parser_->keep_alive();
    firstRequest_ = false;
    admit(host_.screen(request_));
}

void HttpSession::admit(const HeadVerdict& verdict) {
    if (parser_->content_length() && *parser_->content_length() > std::uint64_t(verdict.bodyLimit))
        return fail(413);
    if (verdict.refusal)
        return refuse(*verdict.refusal);
    if (!verdict.unmetered) {
        requestSlot_ = host_.claimRequest(verdict.account);
        if (!requestSlot_ && verdict.account.isEmpty())
            return refuse(busy());
        if (!requestSlot_) {
            ServerResponse tooMany =
                ServerResponse::apiError(429, "Too many requests at once for this account.");
            tooMany.setHeader("Retry-After", "1");
            return refuse(tooMany);
        }
    }
    parser_->body_limit(std::uint64_t(verdict.bodyLimit));
    if (!verdict.spoolDirectory.isEmpty()) {
        fileParser_.emplace(std::move(*parser_));
        parser_.reset();
        fileParser_->body_limit(std::uint64_t(verdict.bodyLimit));
        spooled_ = QDir(verdict.spoolDirectory)
                       .filePath(QString::number(QRandomGenerator::system()->generate64(), 16) + ".part");
        error_code ec;
        fileParser_->get().body().open(QFile::encodeName(spooled_).constData(), beast::file_mode::write_new,
                                       ec);
        if (ec)
            return refuse(ServerResponse::apiError(500, "The upload could not be stored."));
    }
    const bool bodyDone = fileParser_ ? fileParser_->is_done() : parser_->is_done();
    if (!bodyDone && buffer_.size() == 0 &&
        request_.header("expect").compare("100-continue", Qt::CaseInsensitive) == 0) {
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
    if (fileParser_)
        return readBodyInto(*fileParser_);
    readBodyInto(*parser_);
}

template <class Parser> void HttpSession::readBodyInto(Parser& parser) {
    if (parser.is_done())
        return dispatch();
    beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.bodyTimeoutMs));
    http::async_read(stream_, buffer_, parser, [self = shared_from_this()](error_code ec, std::size_t) {
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
    ServerRequest request = std::move(request_);
    if (fileParser_) {
        fileParser_->get().body().close();
        fileParser_.reset();
        request.bodyFile = spooled_;
    } else {
        auto message = parser_->release();
        request.body = QByteArray(message.body().data(), qsizetype(message.body().size()));
        if (request.upgrade)
            upgradeRequest_ = std::make_shared<http::request<http::string_body>>(std::move(message));
        parser_.reset();
    }
    // Nothing is read while the request is with a worker; the answer restarts reading.
    beast::get_lowest_layer(stream_).expires_never();
    underWay_ = host_.beginRequest();
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

void HttpSession::evict() {
    net::post(stream_.get_executor(), [self = shared_from_this()] { self->close(); });
}

void HttpSession::write(const ServerResponse& response) {
    // The handler is done with the spooled body: moved into place, or not wanted.
    if (!spooled_.isEmpty())
        QFile::remove(std::exchange(spooled_, QString()));
    if (response.drop)
        return close();
    if (response.upgrade && upgradeRequest_) {
        // A push stream is held under caps of its own, and a stop closes it on its own.
        requestSlot_.reset();
        underWay_.reset();
        return upgrade(response.upgrade);
    }
    upgradeRequest_.reset();
    if (host_.draining->load())
        keepAlive_ = false;
    const QByteArray wire = response.serialize(keepAlive_, !headRequest_);
    out_.assign(wire.constData(), std::size_t(wire.size()));
    if (response.fileBody && !headRequest_ && response.fileBody->length > 0) {
        sending_ = response.fileBody->file;
        sendLeft_ = response.fileBody->length;
        if (!sending_->seek(response.fileBody->offset))
            return close();
    }
    writeOut();
}

void HttpSession::writeOut() {
    // Each chunk has the whole deadline: a client that reads keeps the answer going, one that does
    // not is cut off.
    beast::get_lowest_layer(stream_).expires_after(ms(host_.limits.writeTimeoutMs));
    net::async_write(stream_, net::buffer(out_), [self = shared_from_this()](error_code ec, std::size_t) {
        if (ec)
            return self->close();
        if (self->sendLeft_ == 0)
            return self->answered();
        const qint64 chunk = qMin(fileChunk, self->sendLeft_);
        self->out_.resize(std::size_t(chunk));
        // A file that shrank since its length was sent cannot be answered in full.
        if (self->sending_->read(self->out_.data(), chunk) != chunk)
            return self->close();
        self->sendLeft_ -= chunk;
        self->writeOut();
    });
}

void HttpSession::answered() {
    out_.clear();
    out_.shrink_to_fit();
    sending_.reset();
    requestSlot_.reset();
    underWay_.reset();
    if (!keepAlive_)
        return shutdown();
    waitForRequest();
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
    refuse(ServerResponse::empty(status));
}

void HttpSession::refuse(const ServerResponse& response) {
    keepAlive_ = false;
    parser_.reset();
    fileParser_.reset();
    write(response);
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
