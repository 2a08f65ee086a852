#include "URLEncodedForm.h"

#include <QJsonArray>
#include <QUrl>

#include <cmath>

namespace {

void append(QList<QPair<QString, QString>>& pairs, const QString& key, const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return;
    case QJsonValue::Bool:
        pairs.append({key, value.toBool() ? QStringLiteral("true") : QStringLiteral("false")});
        return;
    case QJsonValue::Double: {
        const double d = value.toDouble();
        const bool integral = std::trunc(d) == d && std::abs(d) < 1e15;
        pairs.append({key, integral ? QString::number(qint64(d)) : QString::number(d, 'g', 17)});
        return;
    }
    case QJsonValue::String:
        pairs.append({key, value.toString()});
        return;
    case QJsonValue::Array: {
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i)
            append(pairs, key + QStringLiteral("[%1]").arg(i), array.at(i));
        return;
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) // QJsonObject keeps keys sorted
            append(pairs, key + QLatin1Char('[') + it.key() + QLatin1Char(']'), it.value());
        return;
    }
    }
}

} // namespace

namespace URLEncodedForm {

QByteArray escape(const QString& text) {
    return QUrl::toPercentEncoding(text, "/?");
}

QByteArray encode(const QJsonObject& object) {
    QList<QPair<QString, QString>> pairs;
    for (auto it = object.begin(); it != object.end(); ++it)
        append(pairs, it.key(), it.value());
    QByteArray out;
    for (const auto& [key, value] : pairs) {
        if (!out.isEmpty())
            out += '&';
        out += escape(key) + '=' + escape(value);
    }
    return out;
}

} // namespace URLEncodedForm
