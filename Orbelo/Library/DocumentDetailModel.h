#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Documents/DocumentSummary.h"
#include "TaskScope.h"
#include "Text/NotesSection.h"

#include <QtQml/qqmlregistration.h>

#include <optional>

// The notes screen of a ready document: loads its study notes when it first appears, generates
// them on request, and offers them as sections (summary, key concepts, key terms) and as one text
// to read aloud. Failures end in one line, errorMessage.
class DocumentDetailModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString documentId READ documentId WRITE setDocumentId NOTIFY documentIdChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QString courseId READ courseId WRITE setCourseId NOTIFY courseIdChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    Q_PROPERTY(bool didLoad READ didLoad NOTIFY didLoadChanged)
    Q_PROPERTY(bool hasNotes READ hasNotes NOTIFY summaryChanged)
    Q_PROPERTY(QList<QObject*> sections READ sections NOTIFY summaryChanged)
    Q_PROPERTY(QVariantList keyTermCards READ keyTermCards NOTIFY summaryChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)

public:
    static inline const QString notGeneratedMessage =
        QStringLiteral("Notes couldn't be generated for this document. It may be empty or still processing — "
                       "try again shortly.");

    // The app's backend client (AuthSession).
    explicit DocumentDetailModel(QObject* parent = nullptr);
    explicit DocumentDetailModel(APIClient client, QObject* parent = nullptr);

    QString documentId() const { return documentId_; }
    void setDocumentId(const QString& documentId);
    QString title() const { return title_; }
    void setTitle(const QString& title);
    QString courseId() const { return courseId_; }
    void setCourseId(const QString& courseId);
    bool isLoading() const { return isLoading_; }
    bool isGenerating() const { return isGenerating_; }
    bool didLoad() const { return didLoad_; }
    bool hasNotes() const { return summary_.has_value(); }
    const std::optional<DocumentSummary>& summary() const { return summary_; }
    QList<QObject*> sections() const { return sections_; }
    QString errorMessage() const { return errorMessage_; }

    // The screen appeared: loads the notes the first time only.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void load();
    // Generates the notes, or regenerates them when there are some: new notes, not the stored ones.
    Q_INVOKABLE void generate();
    // The notes as one text for read-aloud: the summary, the key concepts, the key terms.
    Q_INVOKABLE QString readAloudText() const;
    // The key terms as {front: term, back: definition} cards for "Study as flashcards"; terms
    // without a definition are left out.
    QVariantList keyTermCards() const;
    static QString readAloudText(const DocumentSummary& summary);
    // The Markdown of each section, in the screen's order; a section without content is left out.
    static QList<NotesSection> notesSections(const DocumentSummary& summary);

Q_SIGNALS:
    void documentIdChanged();
    void titleChanged();
    void courseIdChanged();
    void isLoadingChanged();
    void isGeneratingChanged();
    void didLoadChanged();
    void summaryChanged();
    void errorMessageChanged();

private:
    static async::Task<std::optional<DocumentSummary>> fetch(APIClient client, QString documentId);
    // `regenerate`: new notes in place of those shown.
    static async::Task<std::optional<DocumentSummary>> requestGeneration(APIClient client, QString courseId,
                                                                         QString documentId, bool regenerate);
    void setLoading(bool loading);
    void setGenerating(bool generating);
    void setSummary(std::optional<DocumentSummary> summary);
    void setErrorMessage(const QString& message);

    APIClient client_;
    QString documentId_;
    QString title_;
    QString courseId_;
    bool didLoad_ = false;
    bool isLoading_ = false;
    bool isGenerating_ = false;
    std::optional<DocumentSummary> summary_;
    QList<QObject*> sections_;
    QString errorMessage_;
    async::TaskScope::TaskId loadTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
