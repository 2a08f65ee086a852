#include "Library/NotesSectionModel.h"

#include "Clock.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

NotesSectionModel::NotesSectionModel(NotesSection section, QObject* parent)
    : QObject(parent), section_(std::move(section)) {
    blocks_.setMarkdown(section_.content);
}

void NotesSectionModel::copy() {
    QGuiApplication::clipboard()->setText(plainText());
    setDidCopy(true);
    tasks_.cancel(copiedTask_);
    copiedTask_ = tasks_.spawn(clearCopiedLater(), [this] { setDidCopy(false); });
}

async::Task<void> NotesSectionModel::clearCopiedLater() {
    co_await async::Clock::current().sleep(copiedDuration);
}

QUrl NotesSectionModel::suggestedFile(const QString& documentTitle) const {
    QString name = documentTitle.trimmed().isEmpty()
                       ? section_.title
                       : documentTitle.trimmed() + QStringLiteral(" - ") + section_.title;
    // Characters that file systems or dialogs refuse in a name.
    static const QRegularExpression unsafe(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])"));
    name = name.replace(unsafe, QStringLiteral(" ")).simplified() + QStringLiteral(".md");
    return QUrl::fromLocalFile(
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name));
}

bool NotesSectionModel::saveMarkdown(const QUrl& file) {
    const QString path = file.toLocalFile();
    QSaveFile out(path);
    QByteArray content = section_.content.toUtf8();
    if (!content.endsWith('\n'))
        content.append('\n');
    if (path.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(content) != content.size() ||
        !out.commit()) {
        const QString reason = path.isEmpty() ? QStringLiteral("not a local file") : out.errorString();
        setSaveError(QStringLiteral("Couldn't save %1: %2").arg(section_.title, reason));
        return false;
    }
    setSaveError({});
    return true;
}

void NotesSectionModel::setDidCopy(bool didCopy) {
    if (didCopy == didCopy_)
        return;
    didCopy_ = didCopy;
    Q_EMIT didCopyChanged();
}

void NotesSectionModel::setSaveError(const QString& error) {
    if (error == saveError_)
        return;
    saveError_ = error;
    Q_EMIT saveErrorChanged();
}
