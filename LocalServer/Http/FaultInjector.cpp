#include "Http/FaultInjector.h"

std::optional<FaultInjector::Fault> FaultInjector::fromJson(const QJsonObject& object) {
    const QString path = object.value("path").toString();
    if (path.isEmpty())
        return std::nullopt;
    Fault fault;
    fault.path = path;
    fault.method = object.value("method").toString().toUpper().toUtf8();
    fault.status = object.value("status").toInt();
    fault.delayMs = object.value("delay_ms").toInt();
    fault.drop = object.value("drop").toBool();
    fault.remaining = object.value("times").toInt(-1);
    return fault;
}

std::optional<FaultInjector::Fault> FaultInjector::fromOption(const QString& text) {
    const qsizetype equals = text.lastIndexOf('=');
    if (equals <= 0)
        return std::nullopt;
    Fault fault;
    fault.path = text.left(equals);
    const QString action = text.mid(equals + 1);
    bool ok = false;
    if (action == "drop") {
        fault.drop = true;
        ok = true;
    } else if (action.startsWith("delay:")) {
        fault.delayMs = action.mid(6).toInt(&ok);
    } else {
        fault.status = action.toInt(&ok);
        ok = ok && fault.status >= 100 && fault.status <= 599;
    }
    if (!ok)
        return std::nullopt;
    return fault;
}

void FaultInjector::add(const Fault& fault) {
    std::lock_guard lock(mutex_);
    faults_.append(fault);
}

void FaultInjector::clear() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

QJsonArray FaultInjector::toJson() const {
    std::lock_guard lock(mutex_);
    QJsonArray list;
    for (const Fault& fault : faults_) {
        list.append(QJsonObject{{"path", fault.path},
                                {"method", QString::fromUtf8(fault.method)},
                                {"status", fault.status},
                                {"delay_ms", fault.delayMs},
                                {"drop", fault.drop},
                                {"times", fault.remaining}});
    }
    return list;
}

std::optional<FaultInjector::Fault> FaultInjector::take(const QByteArray& method, const QString& path) {
    std::lock_guard lock(mutex_);
    for (qsizetype i = 0; i < faults_.size(); ++i) {
        Fault& fault = faults_[i];
        const bool pathMatches =
            fault.path.endsWith('*') ? path.startsWith(fault.path.chopped(1)) : path == fault.path;
        if (!pathMatches || (!fault.method.isEmpty() && fault.method != method))
            continue;
        const Fault applied = fault;
        if (fault.remaining > 0 && --fault.remaining == 0)
            faults_.removeAt(i);
        return applied;
    }
    return std::nullopt;
}
