#include "Push/PushSession.h"

#include "Http/WebSocketConnection.h"

#include <QLoggingCategory>
#include <algorithm>
#include <boost/asio/post.hpp>

Q_LOGGING_CATEGORY(lcPushSession, "orbelo.server.push")

namespace net = boost::asio;
namespace websocket = boost::beast::websocket;
using boost::system::error_code;

PushSession::PushSession(std::shared_ptr<WebSocketConnection> connection, std::function<void()> onEnd,
                         qint64 sentUpTo)
    : connection_(std::move(connection)), onEnd_(std::move(onEnd)), sentUpTo_(sentUpTo) {
    connection_->stream.text(true);
}

PushSession::~PushSession() {
    if (onEnd_)
        onEnd_();
}

void PushSession::start() {
    read();
}

void PushSession::read() {
    connection_->stream.async_read(incoming_, [self = shared_from_this()](error_code ec, std::size_t) {
        if (ec) {
            // Closed by either side, timed out, or an oversized message (answered 1009 by the
            // stream itself).
            if (ec == websocket::error::message_too_big)
                qCInfo(lcPushSession) << "push stream closed: the client sent an oversized message";
            self->closing_ = true;
            self->queue_.clear();
            return;
        }
        self->incoming_.clear();
        self->read();
    });
}

void PushSession::replay(QList<Sequenced> messages) {
    net::post(connection_->stream.get_executor(),
              [self = shared_from_this(), messages = std::move(messages)] {
                  for (const Sequenced& message : messages)
                      self->send(message.first, message.second);
                  self->replayed_ = true;
                  // Held deliveries come from several catch-ups: in seq order, each once.
                  std::stable_sort(self->held_.begin(), self->held_.end(),
                                   [](const Sequenced& a, const Sequenced& b) { return a.first < b.first; });
                  for (const Sequenced& message : std::as_const(self->held_))
                      self->send(message.first, message.second);
                  self->held_.clear();
              });
}

void PushSession::deliver(qint64 seq, Message message) {
    net::post(connection_->stream.get_executor(),
              [self = shared_from_this(), seq, message = std::move(message)] {
                  if (!self->replayed_)
                      self->held_.append({seq, message});
                  else
                      self->send(seq, message);
              });
}

void PushSession::close(std::uint16_t code, std::string reason) {
    net::post(
        connection_->stream.get_executor(),
        [self = shared_from_this(), code, reason = std::move(reason)] { self->closeNow(code, reason); });
}

void PushSession::send(qint64 seq, Message message) {
    if (seq <= sentUpTo_)
        return;
    sentUpTo_ = seq;
    enqueue(std::move(message));
}

void PushSession::enqueue(Message message) {
    if (closing_)
        return;
    if (queue_.size() >= maxQueued) {
        qCInfo(lcPushSession) << "push stream closed: the client is not reading";
        return closeNow(std::uint16_t(websocket::close_code::try_again_later), "too far behind");
    }
    queue_.push_back(std::move(message));
    if (!writing_)
        writeNext();
}

void PushSession::writeNext() {
    writing_ = std::move(queue_.front());
    queue_.pop_front();
    connection_->stream.async_write(net::buffer(*writing_),
                                    [self = shared_from_this()](error_code ec, std::size_t) {
                                        self->writing_.reset();
                                        if (ec) {
                                            self->closing_ = true;
                                            self->queue_.clear();
                                            return;
                                        }
                                        if (!self->queue_.empty() && !self->closing_)
                                            self->writeNext();
                                    });
}

void PushSession::closeNow(std::uint16_t code, std::string reason) {
    if (closing_)
        return;
    closing_ = true;
    queue_.clear();
    held_.clear();
    // The stream sends the close frame once a write in progress is out; the read then ends with
    // the client's answer (or the handshake timeout).
    connection_->stream.async_close(websocket::close_reason(websocket::close_code(code), reason),
                                    [self = shared_from_this()](error_code) {});
}
