#include "PushClient.h"

#include <QJsonDocument>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/http/field.hpp>

namespace net = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using boost::system::error_code;

namespace {

net::ssl::context trusting(const QString& certificatePath) {
    net::ssl::context tls(net::ssl::context::tls_client);
    tls.load_verify_file(certificatePath.toStdString());
    tls.set_verify_mode(net::ssl::verify_peer);
    return tls;
}

} // namespace

PushClient::PushClient(quint16 port, const QString& certificatePath)
    : port_(port), tls_(trusting(certificatePath)), stream_(io_, tls_) {}

bool PushClient::runUntil(const bool& done) {
    io_.restart();
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (!done && std::chrono::steady_clock::now() < until)
        io_.run_one_until(until);
    if (done)
        return true;
    // The handlers refer to their caller's frame: they run, cancelled, before it returns.
    error_code ignored;
    beast::get_lowest_layer(stream_).socket().close(ignored);
    io_.restart();
    while (!done && io_.run_one() > 0) {
    }
    return false;
}

PushClient::Refusal PushClient::connect(const QByteArray& authorization, const QString& query) {
    Refusal answer;
    bool done = false;
    websocket::response_type response;
    const std::string target = "/api/mobile/push/stream" + (query.isEmpty() ? "" : "?" + query.toStdString());
    authorization_ = authorization.toStdString();
    // Beast's decorator storage does not destroy what a lambda captures: it refers to a member.
    stream_.set_option(websocket::stream_base::decorator([this](websocket::request_type& request) {
        request.set(beast::http::field::authorization, authorization_);
    }));
    beast::get_lowest_layer(stream_).async_connect(
        net::ip::tcp::endpoint(net::ip::address_v4::loopback(), port_), [&](error_code ec) {
            if (ec)
                return void(done = true);
            stream_.next_layer().async_handshake(net::ssl::stream_base::client, [&](error_code ec) {
                if (ec)
                    return void(done = true);
                stream_.async_handshake(response, "127.0.0.1", target, [&](error_code) {
                    answer.status = response.result_int();
                    answer.body = QByteArray::fromStdString(response.body());
                    done = true;
                });
            });
        });
    runUntil(done);
    return answer;
}

std::optional<QJsonObject> PushClient::next() {
    bool done = false;
    error_code failure;
    stream_.async_read(buffer_, [&](error_code ec, std::size_t) {
        failure = ec;
        done = true;
    });
    if (!runUntil(done) || failure)
        return std::nullopt;
    const std::string text = beast::buffers_to_string(buffer_.data());
    buffer_.consume(buffer_.size());
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

bool PushClient::send(const std::string& text) {
    bool done = false;
    error_code failure;
    stream_.async_write(net::buffer(text), [&](error_code ec, std::size_t) {
        failure = ec;
        done = true;
    });
    return runUntil(done) && !failure;
}
