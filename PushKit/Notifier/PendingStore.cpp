#include "PendingStore.h"

#include <QJsonArray>
#include <QStandardPaths>

PendingStore::PendingStore(QString path)
    : file_(std::move(path), QStringLiteral("pending notifications file"),
            QStringLiteral("starting with none")) {}

QString PendingStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orbelo/notifier/pending.json");
}

QList<NotificationRequest> PendingStore::load() const {
    const std::optional<QJsonObject> root = file_.load();
    if (!root)
        return {};
    QList<NotificationRequest> requests;
    for (const QJsonValue& value : root->value(QStringLiteral("pending")).toArray()) {
        std::optional<NotificationRequest> request = NotificationRequest::fromJson(value.toObject());
        if (!request) {
            file_.setAside(QStringLiteral("a request it holds is incomplete"));
            return {};
        }
        requests.append(std::move(*request));
    }
    return requests;
}

bool PendingStore::save(const QList<NotificationRequest>& requests) const {
    QJsonArray pending;
    for (const NotificationRequest& request : requests)
        pending.append(request.toJson());
    return file_.save({{QStringLiteral("pending"), pending}});
}
