#include "LoadConnection.h"

#include <boost/asio/ssl/host_name_verification.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>

namespace beast = boost::beast;
namespace http = beast::http;
using boost::system::error_code;

LoadConnection::LoadConnection(boost::asio::io_context& io, boost::asio::ssl::context& tls,
                               const boost::asio::ip::tcp::endpoint& server, const std::string& target,
                               LoadTally& tally, std::chrono::seconds timeout)
    : io_(io), tls_(tls), server_(server), tally_(tally), timeout_(timeout), retry_(io),
      request_(http::verb::get, target, 11) {
    request_.set(http::field::host, server.address().to_string() + ":" + std::to_string(server.port()));
    request_.set(http::field::user_agent, "orbelo-bench");
}

void LoadConnection::connect() {
    stream_.emplace(io_, tls_);
    stream_->set_verify_callback(boost::asio::ssl::host_name_verification(server_.address().to_string()));
    buffer_.clear();
    beast::tcp_stream& tcp = beast::get_lowest_layer(*stream_);
    tcp.expires_after(timeout_);
    tcp.async_connect(server_, [self = shared_from_this()](error_code error) {
        if (error)
            return self->fail();
        beast::get_lowest_layer(*self->stream_)
            .socket()
            .set_option(boost::asio::ip::tcp::no_delay(true), error);
        beast::get_lowest_layer(*self->stream_).expires_after(self->timeout_);
        self->stream_->async_handshake(boost::asio::ssl::stream_base::client, [self](error_code error) {
            if (error)
                return self->fail();
            if (!self->reportedReady_) {
                self->reportedReady_ = true;
                self->tally_.connectionReady();
            }
            self->send();
        });
    });
}

void LoadConnection::send() {
    sentAt_ = LoadTally::Clock::now();
    if (tally_.closed(sentAt_))
        return close();
    response_ = {};
    beast::get_lowest_layer(*stream_).expires_after(timeout_);
    http::async_write(*stream_, request_, [self = shared_from_this()](error_code error, size_t) {
        if (error)
            return self->fail();
        http::async_read(*self->stream_, self->buffer_, self->response_, [self](error_code error, size_t) {
            if (error)
                return self->fail();
            self->answered();
        });
    });
}

void LoadConnection::answered() {
    tally_.record(sentAt_, LoadTally::Clock::now());
    if (response_.result() != http::status::ok)
        ++tally_.errors;
    if (response_.keep_alive())
        return send();
    close();
    connect();
}

void LoadConnection::fail() {
    ++tally_.errors;
    close();
    if (tally_.closed(LoadTally::Clock::now()))
        return;
    retry_.expires_after(std::chrono::milliseconds(50));
    retry_.async_wait([self = shared_from_this()](error_code error) {
        if (!error)
            self->connect();
    });
}

// No TLS close_notify: the peer's answer to it could keep a stopping benchmark waiting.
void LoadConnection::close() {
    beast::get_lowest_layer(*stream_).close();
}
