#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "GuidedReading/GuidedReadingTemplate.h"
#include "GuidedReading/ReadingTemplateType.h"
#include "TaskScope.h"

#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The reading guide of a course, or of one of its documents, in the selected style: fetched when
// the screen opens and whenever the style changes, written anew on request, and offered section by
// section. A plan is only shown for the style it was loaded for: an answer that arrives after the
// style has changed is dropped. A guide that does not exist yet is not an error: hasPlan is false.
class ReadingGuideModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString courseId READ courseId WRITE setCourseId NOTIFY courseIdChanged)
    Q_PROPERTY(QString documentId READ documentId WRITE setDocumentId NOTIFY documentIdChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(QVariantList templates READ templates CONSTANT)
    Q_PROPERTY(int selectedTemplate READ selectedTemplate WRITE selectTemplate NOTIFY selectedTemplateChanged)
    Q_PROPERTY(QString templateLabel READ templateLabel NOTIFY selectedTemplateChanged)
    Q_PROPERTY(QString loadingText READ loadingText NOTIFY selectedTemplateChanged)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY selectedTemplateChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)
    Q_PROPERTY(bool hasPlan READ hasPlan NOTIFY planChanged)
    Q_PROPERTY(QStringList learningObjectives READ learningObjectives NOTIFY planChanged)
    Q_PROPERTY(QStringList cornellCues READ cornellCues NOTIFY planChanged)
    Q_PROPERTY(QStringList cornellNotes READ cornellNotes NOTIFY planChanged)
    Q_PROPERTY(QStringList keyConcepts READ keyConcepts NOTIFY planChanged)
    Q_PROPERTY(QVariantList vocabulary READ vocabulary NOTIFY planChanged)
    Q_PROPERTY(QVariantList vocabularyCards READ vocabularyCards NOTIFY planChanged)
    Q_PROPERTY(QVariantList questions READ questions NOTIFY planChanged)
    Q_PROPERTY(QString connections READ connections NOTIFY planChanged)
    Q_PROPERTY(QStringList actionItems READ actionItems NOTIFY planChanged)
    Q_PROPERTY(QStringList readingTips READ readingTips NOTIFY planChanged)
    Q_PROPERTY(QString estimatedTimeText READ estimatedTimeText NOTIFY planChanged)

public:
    static inline const QString loadingDetail =
        QStringLiteral("This can take up to a minute the first time.");
    static inline const QString emptyTitle = QStringLiteral("No reading guide yet");

    // The app's backend client (AuthSession).
    explicit ReadingGuideModel(QObject* parent = nullptr);
    explicit ReadingGuideModel(APIClient client, QObject* parent = nullptr);

    QString courseId() const { return courseId_; }
    void setCourseId(const QString& courseId);
    QString documentId() const { return documentId_; }
    void setDocumentId(const QString& documentId);
    // The course's or document's name, for the flashcard deck's title.
    QString title() const { return title_; }
    void setTitle(const QString& title);
    // {value, label} per style, in the menu's order.
    static QVariantList templates();
    int selectedTemplate() const { return int(selected_); }
    void selectTemplate(int type);
    QString templateLabel() const { return displayName(selected_); }
    QString loadingText() const;
    QString emptyText() const;
    bool isLoading() const { return isLoading_; }
    bool isGenerating() const { return isGenerating_; }
    QString errorText() const { return errorText_; }
    bool hasPlan() const { return shown() != nullptr; }

    QStringList learningObjectives() const;
    QStringList cornellCues() const;
    QStringList cornellNotes() const;
    QStringList keyConcepts() const;
    // {term, definition, context} per term.
    QVariantList vocabulary() const;
    // {front: term, back: definition} per term with both, for "Study as flashcards"; empty without
    // vocabulary.
    QVariantList vocabularyCards() const;
    // {question, answer} per comprehension question; answer is empty when the plan gives none.
    QVariantList questions() const;
    QString connections() const;
    QStringList actionItems() const;
    QStringList readingTips() const;
    // N + " min"; empty when the plan has no estimate.
    QString estimatedTimeText() const;
    // The Cornell notes as one text for read-aloud: each cue followed by its note.
    Q_INVOKABLE QString cornellReadAloudText() const;

    // Fetches the plan of the selected style.
    Q_INVOKABLE void load();
    // "Generate reading guide" / "Regenerate guide": writes the plan of the selected style anew.
    Q_INVOKABLE void regenerate();

Q_SIGNALS:
    void courseIdChanged();
    void documentIdChanged();
    void titleChanged();
    void selectedTemplateChanged();
    void isLoadingChanged();
    void isGeneratingChanged();
    void errorTextChanged();
    void planChanged();

private:
    // The plan's content when it was loaded for the selected style.
    const GuidedReadingTemplate* shown() const;
    std::optional<QString> chosenDocument() const;
    void setPlan(std::optional<GuidedReadingTemplate> plan, ReadingTemplateType loadedFor);
    void setLoading(bool loading);
    void setGenerating(bool generating);
    void setErrorText(const QString& text);

    APIClient client_;
    QString courseId_;
    QString documentId_;
    QString title_;
    ReadingTemplateType selected_ = ReadingTemplateType::comprehensive;
    std::optional<GuidedReadingTemplate> plan_;
    ReadingTemplateType planTemplate_ = ReadingTemplateType::comprehensive;
    bool isLoading_ = false;
    bool isGenerating_ = false;
    QString errorText_;
    async::TaskScope::TaskId loadTask_ = 0;
    async::TaskScope::TaskId generateTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
