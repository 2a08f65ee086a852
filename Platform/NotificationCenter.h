#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

// The process-local notification centre: string-named notifications with an optional object,
// delivered to observers on the main thread. Posting from another thread queues the delivery.
class NotificationCenter : public QObject {
    Q_OBJECT
public:
    static NotificationCenter& shared();

    void post(const QString& name, const QVariant& object = {});

    // Calls `handler` for every notification named `name` until `context` is destroyed.
    QMetaObject::Connection observe(const QString& name, const QObject* context,
                                    std::function<void(const QVariant& object)> handler);

Q_SIGNALS:
    void posted(const QString& name, const QVariant& object);
};
