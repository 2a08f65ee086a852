#pragma once

#include "LoadTally.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include <memory>
#include <optional>
#include <string>

// One keep-alive TLS connection that sends `GET target` back to back, each request as soon as the
// previous answer is in, until the tally's window closes. A failure counts one error; the
// connection then connects again after a short pause, so that the load stays at its level.
class LoadConnection : public std::enable_shared_from_this<LoadConnection> {
public:
    LoadConnection(boost::asio::io_context& io, boost::asio::ssl::context& tls,
                   const boost::asio::ip::tcp::endpoint& server, const std::string& target, LoadTally& tally,
                   std::chrono::seconds timeout);

    void start() { connect(); }

private:
    using Stream = boost::beast::ssl_stream<boost::beast::tcp_stream>;

    void connect();
    void send();
    void answered();
    void fail();
    void close();

    boost::asio::io_context& io_;
    boost::asio::ssl::context& tls_;
    boost::asio::ip::tcp::endpoint server_;
    LoadTally& tally_;
    std::chrono::seconds timeout_;
    std::optional<Stream> stream_;
    boost::asio::steady_timer retry_;
    boost::beast::flat_buffer buffer_;
    boost::beast::http::request<boost::beast::http::empty_body> request_;
    boost::beast::http::response<boost::beast::http::string_body> response_;
    LoadTally::Clock::time_point sentAt_;
    bool reportedReady_ = false;
};
