#pragma once

#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <boost/beast/websocket/stream.hpp>
#include <memory>
#include <utility>

using WebSocketStream = boost::beast::websocket::stream<boost::beast::ssl_stream<boost::beast::tcp_stream>>;

// A connection of the HTTP engine after its WebSocket handshake: the stream, on the connection's
// strand, and the lease that keeps the connection counted against the server's caps until the
// stream is gone.
struct WebSocketConnection {
    WebSocketConnection(boost::beast::ssl_stream<boost::beast::tcp_stream>&& tls, std::shared_ptr<void> lease)
        : stream(std::move(tls)), lease(std::move(lease)) {}

    WebSocketStream stream;
    std::shared_ptr<void> lease;
};
