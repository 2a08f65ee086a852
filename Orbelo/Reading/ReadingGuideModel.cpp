#include "Reading/ReadingGuideModel.h"

#include "APIError.h"
#include "Auth/AuthSession.h"
#include "Common/FailureMessage.h"
#include "Flashcards/FlashcardVocabularyDeck.h"
#include "GuidedReading/GuidedReadingAPI.h"
#include "Text/SentenceText.h"

namespace {

QString failure(std::exception_ptr error) {
    return QStringLiteral("Couldn't load the reading guide: ") +
           SentenceText::completed(FailureMessage::phrase(error));
}

// The backend answers 404 for a style that has no guide yet.
bool isMissing(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        return e.kind() == APIError::Kind::server && e.status() == 404;
    } catch (...) {
        return false;
    }
}

std::optional<GuidedReadingTemplate> contentOf(const GuidedReadingPlan& plan) {
    if (!plan.templates || plan.templates->isEmpty())
        return std::nullopt;
    return plan.templates->first();
}

QStringList listOf(const std::optional<QList<QString>>& list) {
    QStringList out;
    for (const QString& item : list.value_or(QList<QString>())) {
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    }
    return out;
}

} // namespace

ReadingGuideModel::ReadingGuideModel(QObject* parent)
    : ReadingGuideModel(AuthSession::makeAPIClient(), parent) {}

ReadingGuideModel::ReadingGuideModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

void ReadingGuideModel::setCourseId(const QString& courseId) {
    if (courseId == courseId_)
        return;
    courseId_ = courseId;
    Q_EMIT courseIdChanged();
}

void ReadingGuideModel::setDocumentId(const QString& documentId) {
    if (documentId == documentId_)
        return;
    documentId_ = documentId;
    Q_EMIT documentIdChanged();
}

void ReadingGuideModel::setTitle(const QString& title) {
    if (title == title_)
        return;
    title_ = title;
    Q_EMIT titleChanged();
}

QVariantList ReadingGuideModel::templates() {
    QVariantList out;
    for (const auto& [type, raw] : jsonRawValues(ReadingTemplateType{}))
        out << QVariantMap{{QStringLiteral("value"), int(type)},
                           {QStringLiteral("label"), displayName(type)}};
    return out;
}

void ReadingGuideModel::selectTemplate(int type) {
    if (type == int(selected_) || type < int(ReadingTemplateType::comprehensive) ||
        type > int(ReadingTemplateType::discussionPrep))
        return;
    selected_ = ReadingTemplateType(type);
    Q_EMIT selectedTemplateChanged();
    // The plan of the style before is not shown for this one.
    Q_EMIT planChanged();
    load();
}

QString ReadingGuideModel::loadingText() const {
    return QStringLiteral("Building your ") + templateLabel().toLower() + QStringLiteral(" guide…");
}

QString ReadingGuideModel::emptyText() const {
    return QStringLiteral("Generate a ") + templateLabel() +
           QStringLiteral(" reading guide for this course — Cornell notes, key concepts, vocabulary, and "
                          "comprehension questions.");
}

const GuidedReadingTemplate* ReadingGuideModel::shown() const {
    return plan_ && planTemplate_ == selected_ ? &*plan_ : nullptr;
}

std::optional<QString> ReadingGuideModel::chosenDocument() const {
    return documentId_.isEmpty() ? std::nullopt : std::optional<QString>(documentId_);
}

void ReadingGuideModel::load() {
    if (courseId_.isEmpty())
        return;
    // Only the newest fetch counts; a generation under way brings the plan itself.
    tasks_.cancel(loadTask_);
    if (isGenerating_)
        return;
    setErrorText({});
    setLoading(true);
    const ReadingTemplateType wanted = selected_;
    loadTask_ = tasks_.spawn(
        GuidedReadingAPI(client_).plan(courseId_, wanted, chosenDocument()),
        [this, wanted](GuidedReadingPlan plan) {
            if (wanted != selected_)
                return;
            setPlan(contentOf(plan), wanted);
            setLoading(false);
        },
        [this, wanted](std::exception_ptr error) {
            if (wanted != selected_)
                return;
            if (isMissing(error))
                setPlan(std::nullopt, wanted);
            else
                setErrorText(failure(error));
            setLoading(false);
        });
}

void ReadingGuideModel::regenerate() {
    if (courseId_.isEmpty() || isGenerating_)
        return;
    tasks_.cancel(loadTask_);
    setLoading(false);
    setErrorText({});
    setGenerating(true);
    const ReadingTemplateType wanted = selected_;
    generateTask_ = tasks_.spawn(
        GuidedReadingAPI(client_).regenerate(courseId_, wanted, chosenDocument()),
        [this, wanted](GuidedReadingPlan plan) {
            setGenerating(false);
            if (wanted == selected_)
                setPlan(contentOf(plan), wanted);
            else
                load();
        },
        [this, wanted](std::exception_ptr error) {
            setGenerating(false);
            if (wanted == selected_)
                setErrorText(failure(error));
            else
                load();
        });
}

void ReadingGuideModel::setPlan(std::optional<GuidedReadingTemplate> plan, ReadingTemplateType loadedFor) {
    plan_ = std::move(plan);
    planTemplate_ = loadedFor;
    Q_EMIT planChanged();
}

QStringList ReadingGuideModel::learningObjectives() const {
    return shown() ? listOf(shown()->learningObjectives) : QStringList();
}

QStringList ReadingGuideModel::cornellCues() const {
    return shown() ? listOf(shown()->cornellLeftColumn) : QStringList();
}

QStringList ReadingGuideModel::cornellNotes() const {
    return shown() ? listOf(shown()->cornellRightColumn) : QStringList();
}

QStringList ReadingGuideModel::keyConcepts() const {
    return shown() ? listOf(shown()->keyConcepts) : QStringList();
}

QVariantList ReadingGuideModel::vocabulary() const {
    QVariantList out;
    if (!shown())
        return out;
    for (const GRVocabularyTerm& term : shown()->vocabulary.value_or(QList<GRVocabularyTerm>()))
        out << QVariantMap{{QStringLiteral("term"), term.term},
                           {QStringLiteral("definition"), term.definition},
                           {QStringLiteral("context"), term.context.value_or(QString())}};
    return out;
}

QVariantList ReadingGuideModel::vocabularyCards() const {
    QVariantList out;
    if (!shown())
        return out;
    QList<VocabularyTerm> terms;
    for (const GRVocabularyTerm& term : shown()->vocabulary.value_or(QList<GRVocabularyTerm>())) {
        VocabularyTerm card;
        card.term = term.term;
        card.definition = term.definition;
        card.context = term.context;
        terms << card;
    }
    for (const Flashcard& card : FlashcardVocabularyDeck::make(title_, terms).cards)
        out << QVariantMap{{QStringLiteral("front"), card.front}, {QStringLiteral("back"), card.back}};
    return out;
}

QVariantList ReadingGuideModel::questions() const {
    QVariantList out;
    if (!shown())
        return out;
    for (const GRComprehensionQuestion& q :
         shown()->comprehensionQuestions.value_or(QList<GRComprehensionQuestion>())) {
        if (!q.question.trimmed().isEmpty())
            out << QVariantMap{{QStringLiteral("question"), q.question.trimmed()},
                               {QStringLiteral("answer"), q.expectedAnswer.value_or(QString()).trimmed()}};
    }
    return out;
}

QString ReadingGuideModel::connections() const {
    return shown() ? shown()->connections.value_or(QString()).trimmed() : QString();
}

QStringList ReadingGuideModel::actionItems() const {
    return shown() ? listOf(shown()->actionItems) : QStringList();
}

QStringList ReadingGuideModel::readingTips() const {
    return shown() ? listOf(shown()->readingTips) : QStringList();
}

QString ReadingGuideModel::estimatedTimeText() const {
    if (!shown() || !shown()->estimatedTime || *shown()->estimatedTime <= 0)
        return {};
    return QString::number(*shown()->estimatedTime) + QStringLiteral(" min");
}

QString ReadingGuideModel::cornellReadAloudText() const {
    const QStringList cues = cornellCues();
    const QStringList notes = cornellNotes();
    QStringList parts;
    for (qsizetype i = 0; i < std::max(cues.size(), notes.size()); ++i) {
        if (i < cues.size())
            parts << SentenceText::completed(cues[i]);
        if (i < notes.size())
            parts << SentenceText::completed(notes[i]);
    }
    return parts.join(u' ');
}

void ReadingGuideModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}

void ReadingGuideModel::setGenerating(bool generating) {
    if (generating == isGenerating_)
        return;
    isGenerating_ = generating;
    Q_EMIT isGeneratingChanged();
}

void ReadingGuideModel::setErrorText(const QString& text) {
    if (text == errorText_)
        return;
    errorText_ = text;
    Q_EMIT errorTextChanged();
}
