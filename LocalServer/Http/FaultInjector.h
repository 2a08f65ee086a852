#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <mutex>
#include <optional>

// Scripted faults for reliability tests: per path (and optionally method), answer with a fixed
// status, delay the answer, or drop the connection, for a number of requests or until cleared.
class FaultInjector {
public:
    struct Fault {
        QString path;      // exact path, or a prefix when it ends in "*"
        QByteArray method; // empty: any method
        int status = 0;    // 0: let the request through
        int delayMs = 0;
        bool drop = false;
        int remaining = -1; // -1: until cleared
    };

    // Parses {"path","method","status","delay_ms","drop","times"}; nothing when "path" is missing.
    static std::optional<Fault> fromJson(const QJsonObject& object);
    // Parses the command-line form "PATH=STATUS", "PATH=drop" or "PATH=delay:MS".
    static std::optional<Fault> fromOption(const QString& text);

    void add(const Fault& fault);
    void clear();
    QJsonArray toJson() const;
    // The fault that applies to this request, counting it against the fault's remaining uses.
    std::optional<Fault> take(const QByteArray& method, const QString& path);

private:
    mutable std::mutex mutex_; // requests are handled on several threads
    QList<Fault> faults_;
};
