#include "PushStore.h"

#include <QFile>
#include <QStandardPaths>

PushStore::PushStore(QString path)
    : file_(std::move(path), QStringLiteral("push settings file"), QStringLiteral("push stays off")) {}

QString PushStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orbelo/notifier/push.json");
}

std::optional<PushSettings> PushStore::load() const {
    const std::optional<QJsonObject> root = file_.load();
    if (!root)
        return std::nullopt;
    const QJsonValue origin = root->value(QStringLiteral("origin"));
    const QJsonValue certificate = root->value(QStringLiteral("certificatePem"));
    const QJsonValue lastSeq = root->value(QStringLiteral("lastSeq"));
    const QJsonValue active = root->value(QStringLiteral("active"));
    if (!origin.isString() || !certificate.isString() || !lastSeq.isDouble() || lastSeq.toDouble() < 0 ||
        !active.isBool()) {
        file_.setAside(QStringLiteral("a setting is missing or has the wrong type"));
        return std::nullopt;
    }
    return PushSettings{origin.toString(), certificate.toString(), qint64(lastSeq.toDouble()),
                        active.toBool()};
}

bool PushStore::save(const PushSettings& settings) const {
    return file_.save({{QStringLiteral("origin"), settings.origin},
                       {QStringLiteral("certificatePem"), settings.certificatePem},
                       {QStringLiteral("lastSeq"), settings.lastSeq},
                       {QStringLiteral("active"), settings.active}});
}

void PushStore::clear() const {
    QFile::remove(file_.path());
}
