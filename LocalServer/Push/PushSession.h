#pragma once

#include <QList>
#include <QString>
#include <atomic>
#include <boost/beast/core/flat_buffer.hpp>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>

struct WebSocketConnection;

// One device's push stream: text messages written in order on the connection's strand. What the
// client sends is read and dropped, which keeps its pongs and close frames seen. Each message
// carries its notification's seq, and one is sent only when its seq is above every one sent
// before, so the same notification delivered twice (a catch-up racing another) goes out once.
// Messages that arrive before the replay are held back and follow it. Every public call is
// thread-safe.
class PushSession : public std::enable_shared_from_this<PushSession> {
public:
    using Message = std::shared_ptr<const std::string>;
    using Sequenced = std::pair<qint64, Message>;

    // Past this many unwritten messages the client is too slow to keep up: the stream closes
    // (1013) and the client comes back for what it missed.
    static constexpr std::size_t maxQueued = 256;

    // `onEnd` runs when the stream is gone; the stream starts after the seq `sentUpTo`.
    PushSession(std::shared_ptr<WebSocketConnection> connection, std::function<void()> onEnd,
                qint64 sentUpTo);
    ~PushSession();
    PushSession(const PushSession&) = delete;
    PushSession& operator=(const PushSession&) = delete;

    // Starts reading; call once, on the connection's strand.
    void start();
    // The messages owed from before the stream opened, oldest first (possibly none); live ones
    // are sent only after them.
    void replay(QList<Sequenced> messages);
    void deliver(qint64 seq, Message message);
    // The highest seq sent or on its way (or the starting point); what is above it is still owed.
    qint64 sentUpTo() const { return sentUpTo_; }
    // Closes with `code` once the message being written is out; later messages are dropped.
    void close(std::uint16_t code, std::string reason);

private:
    void read();
    // Queues the message unless its seq is not above the last one's.
    void send(qint64 seq, Message message);
    void enqueue(Message message);
    void writeNext();
    void closeNow(std::uint16_t code, std::string reason);

    std::shared_ptr<WebSocketConnection> connection_;
    std::function<void()> onEnd_;
    boost::beast::flat_buffer incoming_;
    std::deque<Message> queue_;
    Message writing_; // the message on the wire, kept alive until written
    QList<Sequenced> held_;
    bool replayed_ = false;
    std::atomic<qint64> sentUpTo_; // written on the strand only
    bool closing_ = false;
};
