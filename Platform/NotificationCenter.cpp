#include "NotificationCenter.h"

#include <QCoreApplication>
#include <QThread>

NotificationCenter& NotificationCenter::shared() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::post(const QString& name, const QVariant& object) {
    auto* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            this, [this, name, object] { Q_EMIT posted(name, object); }, Qt::QueuedConnection);
        return;
    }
    Q_EMIT posted(name, object);
}

QMetaObject::Connection NotificationCenter::observe(const QString& name, const QObject* context,
                                                    std::function<void(const QVariant&)> handler) {
    return connect(this, &NotificationCenter::posted, context,
                   [name, handler = std::move(handler)](const QString& postedName, const QVariant& object) {
                       if (postedName == name)
                           handler(object);
                   });
}
