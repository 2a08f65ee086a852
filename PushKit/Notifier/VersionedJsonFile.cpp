#include "VersionedJsonFile.h"

#include "Clock.h"
#include "NotifierLogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

VersionedJsonFile::VersionedJsonFile(QString path, QString what, QString fallback)
    : path_(std::move(path)), what_(std::move(what)), fallback_(std::move(fallback)) {}

std::optional<QJsonObject> VersionedJsonFile::load() const {
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
    QJsonObject root = document.object();
    if (root.value(QStringLiteral("version")).toInt() != formatVersion) {
        setAside(QStringLiteral("unknown version %1")
                     .arg(root.value(QStringLiteral("version")).toVariant().toString()));
        return std::nullopt;
    }
    root.remove(QStringLiteral("version"));
    return root;
}

bool VersionedJsonFile::save(QJsonObject root) const {
    root.insert(QStringLiteral("version"), formatVersion);
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        qCWarning(lcNotifier, "cannot write %s: %s", qUtf8Printable(path_),
                  qUtf8Printable(file.errorString()));
        return false;
    }
    return true;
}

void VersionedJsonFile::setAside(const QString& why) const {
    const QString aside = path_ + QStringLiteral(".corrupt-") +
                          async::Clock::current().now().toString(QStringLiteral("yyyyMMddThhmmss"));
    QFile::remove(aside);
    const bool moved = QFile::rename(path_, aside);
    qCCritical(lcNotifier, "%s %s is unreadable (%s); %s, %s", qUtf8Printable(what_), qUtf8Printable(path_),
               qUtf8Printable(why), qUtf8Printable(fallback_),
               moved ? qUtf8Printable(QStringLiteral("the file is kept as ") + aside)
                     : "and it could not be moved aside");
}
