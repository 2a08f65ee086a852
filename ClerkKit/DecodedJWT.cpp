#include "DecodedJWT.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

std::optional<QString> DecodedJWT::Claim::string() const {
    return value_.isString() ? std::optional<QString>(value_.toString()) : std::nullopt;
}

std::optional<double> DecodedJWT::Claim::number() const {
    return value_.isDouble() ? std::optional<double>(value_.toDouble()) : std::nullopt;
}

std::optional<QDateTime> DecodedJWT::Claim::date() const {
    const auto seconds = number();
    if (!seconds || !std::isfinite(*seconds))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(*seconds * 1000)), Qt::UTC);
}

std::optional<QStringList> DecodedJWT::Claim::array() const {
    if (!value_.isArray())
        return std::nullopt;
    QStringList out;
    for (const QJsonValue& item : value_.toArray()) {
        if (!item.isString())
            return std::nullopt;
        out << item.toString();
    }
    return out;
}

DecodedJWT DecodedJWT::decode(const QString& jwt) {
    const QStringList parts = jwt.split(QLatin1Char('.'));
    if (parts.size() != 3)
        throw DecodeError(QStringLiteral("The JWT %1 has %2 parts when it should have 3 parts.")
                              .arg(jwt)
                              .arg(parts.size()));
    const QString& part = parts[1];
    QByteArray base64 = part.toLatin1();
    base64.replace('-', '+').replace('_', '/');
    while (base64.size() % 4 != 0)
        base64.append('=');
    const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || part.isEmpty())
        throw DecodeError(QStringLiteral("Failed to decode Base64URL value %1").arg(part));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*decoded, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw DecodeError(QStringLiteral("Failed to parse JSON from Base64URL value %1").arg(part));
    return DecodedJWT(document.object());
}
