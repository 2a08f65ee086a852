#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One frame of the push stream: {"type": "notification", "seq": n, "notification": {...}} with
// the app's notification record, of which the agent needs the id, title and message.
struct PushMessage {
    enum class Kind { notification, other };

    Kind kind = Kind::notification;
    qint64 seq = 0;
    QString id;
    QString title;
    QString message;

    // Empty when the frame is not a JSON object, or a notification frame lacks what it must carry.
    // A frame of another type is `other` (for a newer server), not an error.
    static std::optional<PushMessage> parse(const QByteArray& frame);
};
