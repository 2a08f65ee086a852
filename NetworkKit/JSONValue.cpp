#include "JSONValue.h"

#include <QJsonArray>
#include <QJsonObject>

JSONValue JSONValue::decodeJson(const QJsonValue& value, const json::Path& path) {
    switch (value.type()) {
    case QJsonValue::Bool:
        return Storage(value.toBool());
    case QJsonValue::Double:
        return Storage(value.toDouble());
    case QJsonValue::String:
        return Storage(value.toString());
    case QJsonValue::Object: {
        Object object;
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const QString key = it.key();
            object.insert(key, decodeJson(it.value(), path.child(key)));
        }
        return Storage(std::move(object));
    }
    case QJsonValue::Array: {
        Array array;
        const QJsonArray a = value.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            array.append(decodeJson(a.at(i), path.child(i)));
        return Storage(std::move(array));
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return JSONValue();
}

QJsonValue JSONValue::encodeJson() const {
    struct Visitor {
        QJsonValue operator()(const QString& s) const { return s; }
        QJsonValue operator()(double d) const { return d; }
        QJsonValue operator()(bool b) const { return b; }
        QJsonValue operator()(const Object& o) const {
            QJsonObject out;
            for (auto it = o.begin(); it != o.end(); ++it)
                out.insert(it.key(), it.value().encodeJson());
            return out;
        }
        QJsonValue operator()(const Array& a) const {
            QJsonArray out;
            for (const auto& v : a)
                out.append(v.encodeJson());
            return out;
        }
        QJsonValue operator()(Null) const { return QJsonValue(QJsonValue::Null); }
    };
    return std::visit(Visitor{}, value_);
}
