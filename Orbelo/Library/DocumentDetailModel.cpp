#include "Library/DocumentDetailModel.h"

#include "Common/FailureMessage.h"
#include "Text/SentenceText.h"

#include "Auth/AuthSession.h"
#include "Documents/DocumentsAPI.h"
#include "Library/NotesSectionModel.h"

namespace {

bool isEmpty(const DocumentSummary& summary) {
    return summary.summaryText.value_or(QString()).trimmed().isEmpty() &&
           summary.keyConcepts.value_or(QList<QString>()).isEmpty() &&
           summary.keyTerms.value_or(QList<DocumentKeyTerm>()).isEmpty();
}

} // namespace

DocumentDetailModel::DocumentDetailModel(QObject* parent)
    : DocumentDetailModel(AuthSession::makeAPIClient(), parent) {}

DocumentDetailModel::DocumentDetailModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

void DocumentDetailModel::setDocumentId(const QString& documentId) {
    if (documentId == documentId_)
        return;
    documentId_ = documentId;
    Q_EMIT documentIdChanged();
}

void DocumentDetailModel::setTitle(const QString& title) {
    if (title == title_)
        return;
    title_ = title;
    Q_EMIT titleChanged();
}

void DocumentDetailModel::setCourseId(const QString& courseId) {
    if (courseId == courseId_)
        return;
    courseId_ = courseId;
    Q_EMIT courseIdChanged();
}

void DocumentDetailModel::appear() {
    if (didLoad_)
        return;
    didLoad_ = true;
    Q_EMIT didLoadChanged();
    load();
}

void DocumentDetailModel::load() {
    if (isLoading_ || isGenerating_)
        return;
    setErrorMessage({});
    setLoading(true);
    loadTask_ = tasks_.spawn(
        fetch(client_, documentId_),
        [this](std::optional<DocumentSummary> summary) {
            setSummary(std::move(summary));
            setLoading(false);
        },
        [this](std::exception_ptr error) {
            setErrorMessage(QStringLiteral("Couldn't load notes: ") + FailureMessage::describe(error));
            setLoading(false);
        });
}

async::Task<std::optional<DocumentSummary>> DocumentDetailModel::fetch(APIClient client, QString documentId) {
    const DocumentsAPI api(std::move(client));
    DocumentSummaryResponse answer = co_await api.summary(documentId);
    co_return std::move(answer.summary);
}

void DocumentDetailModel::generate() {
    if (isGenerating_)
        return;
    // Whatever a load still in flight brings, the generated notes replace it.
    tasks_.cancel(loadTask_);
    setLoading(false);
    setErrorMessage({});
    setGenerating(true);
    tasks_.spawn(
        requestGeneration(client_, courseId_, documentId_, hasNotes()),
        [this](std::optional<DocumentSummary> summary) {
            if (summary && !isEmpty(*summary))
                setSummary(std::move(summary));
            else
                setErrorMessage(notGeneratedMessage);
            setGenerating(false);
        },
        [this](std::exception_ptr error) {
            setErrorMessage(QStringLiteral("Generation failed: ") + FailureMessage::describe(error));
            setGenerating(false);
        });
}

async::Task<std::optional<DocumentSummary>> DocumentDetailModel::requestGeneration(APIClient client,
                                                                                   QString courseId,
                                                                                   QString documentId,
                                                                                   bool regenerate) {
    GenerateSummaryRequest request;
    request.courseId = std::move(courseId);
    request.documentId = std::move(documentId);
    if (regenerate)
        request.forceRegenerate = true;
    const DocumentsAPI api(std::move(client));
    DocumentSummaryResponse answer = co_await api.generateSummary(request);
    co_return std::move(answer.summary);
}

QVariantList DocumentDetailModel::keyTermCards() const {
    QVariantList cards;
    if (!summary_ || !summary_->keyTerms)
        return cards;
    for (const DocumentKeyTerm& key : *summary_->keyTerms) {
        const QString term = key.term.trimmed();
        const QString definition = key.definition.trimmed();
        if (!term.isEmpty() && !definition.isEmpty())
            cards << QVariantMap{{QStringLiteral("front"), term}, {QStringLiteral("back"), definition}};
    }
    return cards;
}

QString DocumentDetailModel::readAloudText() const {
    return summary_ ? readAloudText(*summary_) : QString();
}

QString DocumentDetailModel::readAloudText(const DocumentSummary& summary) {
    QStringList parts;
    const QString text = NotesSection::plainText(summary.summaryText.value_or(QString())).trimmed();
    if (!text.isEmpty())
        parts << text;
    QStringList concepts;
    for (const QString& idea : summary.keyConcepts.value_or(QList<QString>()))
        concepts << SentenceText::completed(idea);
    concepts.removeAll(QString());
    if (!concepts.isEmpty())
        parts << QStringLiteral("Key concepts: ") + concepts.join(u' ');
    QStringList terms;
    for (const DocumentKeyTerm& term : summary.keyTerms.value_or(QList<DocumentKeyTerm>()))
        terms << SentenceText::completed(term.term.trimmed() + QStringLiteral(": ") +
                                         term.definition.trimmed());
    if (!terms.isEmpty())
        parts << QStringLiteral("Key terms. ") + terms.join(u' ');
    return parts.join(QStringLiteral("\n\n"));
}

QList<NotesSection> DocumentDetailModel::notesSections(const DocumentSummary& summary) {
    QList<NotesSection> sections;
    const QString text = summary.summaryText.value_or(QString()).trimmed();
    if (!text.isEmpty())
        sections.append({QStringLiteral("Summary"), QStringLiteral("doc.text"), text});
    QStringList concepts;
    for (const QString& idea : summary.keyConcepts.value_or(QList<QString>()))
        if (!idea.trimmed().isEmpty())
            concepts << QStringLiteral("- ") + idea.trimmed();
    if (!concepts.isEmpty())
        sections.append({QStringLiteral("Key concepts"), QStringLiteral("lightbulb"), concepts.join(u'\n')});
    QStringList terms;
    for (const DocumentKeyTerm& term : summary.keyTerms.value_or(QList<DocumentKeyTerm>()))
        terms << QStringLiteral("- **%1**: %2").arg(term.term.trimmed(), term.definition.trimmed());
    if (!terms.isEmpty())
        sections.append(
            {QStringLiteral("Key terms"), QStringLiteral("character.book.closed"), terms.join(u'\n')});
    return sections;
}

void DocumentDetailModel::setLoading(bool loading) {
    if (!loading)
        loadTask_ = 0;
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}

void DocumentDetailModel::setGenerating(bool generating) {
    if (generating == isGenerating_)
        return;
    isGenerating_ = generating;
    Q_EMIT isGeneratingChanged();
}

void DocumentDetailModel::setSummary(std::optional<DocumentSummary> summary) {
    if (summary && isEmpty(*summary))
        summary.reset();
    summary_ = std::move(summary);
    // The screen may still hold the old sections until it rebuilds.
    for (QObject* section : std::as_const(sections_))
        section->deleteLater();
    sections_.clear();
    if (summary_) {
        for (NotesSection& section : notesSections(*summary_))
            sections_.append(new NotesSectionModel(std::move(section), this));
    }
    Q_EMIT summaryChanged();
}

void DocumentDetailModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
