#include "PendingStore.h"

#include "Clock.h"
#include "NotifierLogging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr int formatVersion = 1;

} // namespace

PendingStore::PendingStore(QString path) : path_(std::move(path)) {}

QString PendingStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orbelo/notifier/pending.json");
}

QList<NotificationRequest> PendingStore::load() const {
    QFile file(path_);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcNotifier, "cannot read %s: %s", qUtf8Printable(path_),
                  qUtf8Printable(file.errorString()));
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    file.close();
    if (!document.isObject()) {
        setAside(parseError.error == QJsonParseError::NoError ? QStringLiteral("not a JSON object")
                                                              : parseError.errorString());
        return {};
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("version")).toInt() != formatVersion) {
        setAside(QStringLiteral("unknown version %1")
                     .arg(root.value(QStringLiteral("version")).toVariant().toString()));
        return {};
    }
    QList<NotificationRequest> requests;
    for (const QJsonValue& value : root.value(QStringLiteral("pending")).toArray()) {
        std::optional<NotificationRequest> request = NotificationRequest::fromJson(value.toObject());
        if (!request) {
            setAside(QStringLiteral("a request it holds is incomplete"));
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
    const QJsonObject root{{QStringLiteral("version"), formatVersion}, {QStringLiteral("pending"), pending}};

    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        qCWarning(lcNotifier, "cannot write %s: %s", qUtf8Printable(path_),
                  qUtf8Printable(file.errorString()));
        return false;
    }
    return true;
}

void PendingStore::setAside(const QString& why) const {
    const QString aside = path_ + QStringLiteral(".corrupt-") +
                          async::Clock::current().now().toString(QStringLiteral("yyyyMMddThhmmss"));
    QFile::remove(aside);
    const bool moved = QFile::rename(path_, aside);
    qCCritical(lcNotifier, "pending notifications file %s is unreadable (%s); starting with none, %s",
               qUtf8Printable(path_), qUtf8Printable(why),
               moved ? qUtf8Printable(QStringLiteral("the file is kept as ") + aside)
                     : "and it could not be moved aside");
}
