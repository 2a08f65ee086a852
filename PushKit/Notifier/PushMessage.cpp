#include "PushMessage.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

std::optional<PushMessage> PushMessage::parse(const QByteArray& frame) {
    const QJsonDocument document = QJsonDocument::fromJson(frame);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    const QJsonValue type = root.value(QStringLiteral("type"));
    if (!type.isString())
        return std::nullopt;
    if (type.toString() != QLatin1String("notification"))
        return PushMessage{Kind::other};

    const QJsonValue seq = root.value(QStringLiteral("seq"));
    const QJsonObject record = root.value(QStringLiteral("notification")).toObject();
    const QJsonValue id = record.value(QStringLiteral("id"));
    const QJsonValue title = record.value(QStringLiteral("title"));
    const QJsonValue message = record.value(QStringLiteral("message"));
    // Sequence numbers are positive whole numbers that a double holds exactly.
    const double number = seq.toDouble(-1);
    if (!seq.isDouble() || number < 1 || number > 9007199254740992.0 || std::floor(number) != number ||
        !id.isString() || id.toString().isEmpty() || !title.isString() || !message.isString())
        return std::nullopt;
    return PushMessage{Kind::notification, qint64(number), id.toString(), title.toString(),
                       message.toString()};
}
