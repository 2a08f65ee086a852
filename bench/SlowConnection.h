#pragma once

#include "SlowGroup.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/stream.hpp>
#include <boost/asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <memory>
#include <string>

// A connection that holds on to server resources without behaving like a client: it connects and
// then idles (before or after the TLS handshake), sends the start of a large header block and
// drips the rest one byte at a time, or writes pipelined requests in bursts and never reads an
// answer. It records into its group when the server refuses or ends it.
class SlowConnection : public std::enable_shared_from_this<SlowConnection> {
public:
    enum class Kind { idleTcp, idleTls, drippingHeaders, unreadPipeline };

    SlowConnection(boost::asio::io_context& io, boost::asio::ssl::context& tls,
                   const boost::asio::ip::tcp::endpoint& server, Kind kind, SlowGroup& group,
                   std::chrono::steady_clock::time_point phaseStart);

    void start();
    // Ends it from this side; nothing that follows is recorded.
    void stop();

private:
    void established();
    void awaitEnd();
    void drip();
    void pipeline();
    void write(std::string bytes);
    void ended(bool refused);
    double elapsed() const;

    Kind kind_;
    SlowGroup& group_;
    boost::asio::ip::tcp::endpoint server_;
    std::chrono::steady_clock::time_point phaseStart_;
    boost::asio::ssl::stream<boost::asio::ip::tcp::socket> stream_;
    boost::asio::steady_timer timer_;
    std::string writing_;
    std::string received_;
    std::array<char, 4096> readBuffer_;
    bool over_ = false;
};
