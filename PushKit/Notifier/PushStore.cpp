#include "PushStore.h"

#include "Clock.h"
#include "NotifierLogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr int formatVersion = 1;

} // namespace

PushStore::PushStore(QString path) : path_(std::move(path)) {}

QString PushStore::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/orbelo/notifier/push.json");
}

std::optional<PushSettings> PushStore::load() const {
    QFile file(path_);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcNotifier, "cannot read %s: %s", qUtf8Printable(path_),
                  qUtf8Printable(file.errorString()));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    file.close();
    if (!document.isObject()) {
        setAside(parseError.error == QJsonParseError::NoError ? QStringLiteral("not a JSON object")
                                                              : parseError.errorString());
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("version")).toInt() != formatVersion) {
        setAside(QStringLiteral("unknown version"));
        return std::nullopt;
    }
    const QJsonValue origin = root.value(QStringLiteral("origin"));
    const QJsonValue certificate = root.value(QStringLiteral("certificatePem"));
    const QJsonValue lastSeq = root.value(QStringLiteral("lastSeq"));
    const QJsonValue active = root.value(QStringLiteral("active"));
    if (!origin.isString() || !certificate.isString() || !lastSeq.isDouble() || lastSeq.toDouble() < 0 ||
        !active.isBool()) {
        setAside(QStringLiteral("a setting is missing or has the wrong type"));
        return std::nullopt;
    }
    return PushSettings{origin.toString(), certificate.toString(), qint64(lastSeq.toDouble()),
                        active.toBool()};
}

bool PushStore::save(const PushSettings& settings) const {
    const QJsonObject root{{QStringLiteral("version"), formatVersion},
                           {QStringLiteral("origin"), settings.origin},
                           {QStringLiteral("certificatePem"), settings.certificatePem},
                           {QStringLiteral("lastSeq"), settings.lastSeq},
                           {QStringLiteral("active"), settings.active}};
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        qCWarning(lcNotifier, "cannot write %s: %s", qUtf8Printable(path_),
                  qUtf8Printable(file.errorString()));
        return false;
    }
    return true;
}

void PushStore::clear() const {
    QFile::remove(path_);
}

void PushStore::setAside(const QString& why) const {
    const QString aside = path_ + QStringLiteral(".corrupt-") +
                          async::Clock::current().now().toString(QStringLiteral("yyyyMMddThhmmss"));
    QFile::remove(aside);
    const bool moved = QFile::rename(path_, aside);
    qCCritical(lcNotifier, "push settings file %s is unreadable (%s); push stays off, %s",
               qUtf8Printable(path_), qUtf8Printable(why),
               moved ? qUtf8Printable(QStringLiteral("the file is kept as ") + aside)
                     : "and it could not be moved aside");
}
