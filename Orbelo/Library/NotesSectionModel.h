#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"
#include "Text/MarkdownText.h"
#include "Text/NotesSection.h"

#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <chrono>

// One titled section of a document's notes: its Markdown as blocks for display, copying its plain
// text ("Copied" shows for a moment after) and saving its Markdown to a file.
class NotesSectionModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Sections come from DocumentDetailModel.")
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString systemImage READ systemImage CONSTANT)
    Q_PROPERTY(QString markdown READ markdown CONSTANT)
    Q_PROPERTY(QAbstractItemModel* blocks READ blocks CONSTANT)
    Q_PROPERTY(bool didCopy READ didCopy NOTIFY didCopyChanged)
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveErrorChanged)

public:
    static constexpr std::chrono::milliseconds copiedDuration{2000};

    NotesSectionModel(NotesSection section, QObject* parent = nullptr);

    QString title() const { return section_.title; }
    QString systemImage() const { return section_.systemImage; }
    QString markdown() const { return section_.content; }
    QString plainText() const { return section_.plainText(); }
    QAbstractItemModel* blocks() { return &blocks_; }
    bool didCopy() const { return didCopy_; }
    QString saveError() const { return saveError_; }

    Q_INVOKABLE void copy();
    // The file to offer in the save dialog: the document's and the section's titles, in Documents.
    Q_INVOKABLE QUrl suggestedFile(const QString& documentTitle) const;
    // Writes the Markdown to a local file; a failure is kept in saveError.
    Q_INVOKABLE bool saveMarkdown(const QUrl& file);

Q_SIGNALS:
    void didCopyChanged();
    void saveErrorChanged();

private:
    static async::Task<void> clearCopiedLater();
    void setDidCopy(bool didCopy);
    void setSaveError(const QString& error);

    NotesSection section_;
    MarkdownText blocks_;
    bool didCopy_ = false;
    async::TaskScope::TaskId copiedTask_ = 0;
    QString saveError_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
