#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <boost/beast/websocket/stream.hpp>
#include <optional>
#include <string>

// A push stream client over loopback TLS, holding the stream as the notifier agent does:
// Beast's WebSocket on an I/O context of its own. Every call waits for its own event only, within
// `deadline`, so a failing test ends instead of hanging.
class PushClient {
public:
    struct Refusal {
        int status = 0; // the HTTP status answered instead of the upgrade; 101 when upgraded
        QByteArray body;
    };

    PushClient(quint16 port, const QString& certificatePath);

    // Asks for the stream with this Authorization header and query (e.g. "after=3").
    Refusal connect(const QByteArray& authorization, const QString& query = {});
    Refusal connectDevice(const QString& deviceToken, const QString& query = {}) {
        return connect("Device " + deviceToken.toLatin1(), query);
    }
    // The next message as JSON; nothing once the stream has ended (see closeCode()).
    std::optional<QJsonObject> next();
    bool send(const std::string& text);
    // The close frame's code and reason, once next() has seen the stream end.
    int closeCode() const { return int(stream_.reason().code); }
    QString closeReason() const {
        const auto& reason = stream_.reason().reason;
        return QString::fromUtf8(reason.data(), qsizetype(reason.size()));
    }

    static constexpr std::chrono::seconds deadline{10};

private:
    // Runs the I/O context until `done` is set or the deadline passes.
    bool runUntil(const bool& done);

    quint16 port_;
    boost::asio::io_context io_;
    boost::asio::ssl::context tls_;
    boost::beast::websocket::stream<boost::beast::ssl_stream<boost::beast::tcp_stream>> stream_;
    boost::beast::flat_buffer buffer_;
    std::string authorization_;
};
