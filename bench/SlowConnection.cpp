#include "SlowConnection.h"

#include <boost/asio/ssl/host_name_verification.hpp>
#include <boost/asio/write.hpp>

using boost::system::error_code;

namespace {

// Just under the 8 KiB that HTTP servers commonly allow for a request head, so that a server has
// to end the connection by time rather than by size.
constexpr size_t headerBlockBytes = 6 * 1024;
constexpr auto dripInterval = std::chrono::milliseconds(300);
constexpr auto burstInterval = std::chrono::milliseconds(250);
constexpr int burstRequests = 16;

} // namespace

SlowConnection::SlowConnection(boost::asio::io_context& io, boost::asio::ssl::context& tls,
                               const boost::asio::ip::tcp::endpoint& server, Kind kind, SlowGroup& group,
                               std::chrono::steady_clock::time_point phaseStart)
    : kind_(kind), group_(group), server_(server), phaseStart_(phaseStart), stream_(io, tls), timer_(io) {
    stream_.set_verify_callback(boost::asio::ssl::host_name_verification(server.address().to_string()));
}

void SlowConnection::start() {
    // A small receive buffer, set before connecting so that the kernel does not grow it: unread
    // answers then pile up at the server, not in this socket, and a server that stops reading a
    // connection whose answers go unread shows as held-back bursts.
    if (kind_ == Kind::unreadPipeline) {
        error_code ignored;
        stream_.next_layer().open(server_.protocol(), ignored);
        stream_.next_layer().set_option(boost::asio::socket_base::receive_buffer_size(4096), ignored);
    }
    stream_.next_layer().async_connect(server_, [self = shared_from_this()](error_code error) {
        if (error)
            return self->ended(true);
        if (self->kind_ == Kind::idleTcp)
            return self->established();
        self->stream_.async_handshake(boost::asio::ssl::stream_base::client, [self](error_code error) {
            if (error)
                return self->ended(true);
            self->established();
        });
    });
}

void SlowConnection::stop() {
    over_ = true;
    timer_.cancel();
    error_code ignored;
    stream_.next_layer().close(ignored);
}

void SlowConnection::established() {
    if (over_)
        return;
    ++group_.established;
    switch (kind_) {
    case Kind::idleTcp:
    case Kind::idleTls:
        return awaitEnd();
    case Kind::drippingHeaders: {
        awaitEnd();
        const std::string address = server_.address().to_string() + ":" + std::to_string(server_.port());
        std::string head = "GET /v1/environment HTTP/1.1\r\nHost: " + address + "\r\n";
        for (int i = 0; head.size() < headerBlockBytes; ++i)
            head += "X-Padding-" + std::to_string(i) + ": " + std::string(48, 'x') + "\r\n";
        write(head + "X-Drip: ");
        return drip();
    }
    case Kind::unreadPipeline:
        return pipeline();
    }
}

// Reads whatever the server sends (a status line, perhaps) until it ends the connection.
void SlowConnection::awaitEnd() {
    const auto read = [self = shared_from_this()](error_code error, size_t size) {
        if (error)
            return self->ended(false);
        self->received_.append(self->readBuffer_.data(), size);
        self->awaitEnd();
    };
    if (kind_ == Kind::idleTcp)
        stream_.next_layer().async_read_some(boost::asio::buffer(readBuffer_), read);
    else
        stream_.async_read_some(boost::asio::buffer(readBuffer_), read);
}

void SlowConnection::drip() {
    timer_.expires_after(dripInterval);
    timer_.async_wait([self = shared_from_this()](error_code error) {
        if (error || self->over_)
            return;
        if (self->writing_.empty())
            self->write("a");
        self->drip();
    });
}

void SlowConnection::pipeline() {
    if (writing_.empty()) {
        const std::string address = server_.address().to_string() + ":" + std::to_string(server_.port());
        std::string burst;
        for (int i = 0; i < burstRequests; ++i)
            burst += "GET /v1/environment HTTP/1.1\r\nHost: " + address + "\r\n\r\n";
        write(burst);
        group_.requestsWritten += burstRequests;
    } else {
        ++group_.stalls;
    }
    timer_.expires_after(burstInterval);
    timer_.async_wait([self = shared_from_this()](error_code error) {
        if (!error && !self->over_)
            self->pipeline();
    });
}

void SlowConnection::write(std::string bytes) {
    writing_ = std::move(bytes);
    boost::asio::async_write(stream_, boost::asio::buffer(writing_),
                             [self = shared_from_this()](error_code error, size_t) {
                                 self->writing_.clear();
                                 if (error)
                                     self->ended(false);
                             });
}

void SlowConnection::ended(bool refused) {
    if (over_)
        return;
    (refused ? group_.refusedAt : group_.closedAt).push_back(elapsed());
    // An answer the server sent before ending the connection, such as 408 or 431.
    if (received_.starts_with("HTTP/1.") && received_.size() >= 12)
        ++group_.answers[std::atoi(received_.substr(9, 3).c_str())];
    stop();
}

double SlowConnection::elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - phaseStart_).count();
}
