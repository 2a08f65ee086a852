#include "Mnemonics/MnemonicGenerationModel.h"

#include "Auth/AuthSession.h"
#include "Common/CourseChoices.h"
#include "Common/CourseFilter.h"
#include "Common/DocumentText.h"
#include "Common/FailureMessage.h"
#include "Mnemonics/MnemonicAPI.h"
#include "User/UserAPI.h"

namespace {

QVariantMap option(const QString& label, const QString& value) {
    return {{QStringLiteral("label"), label}, {QStringLiteral("value"), value}};
}

QVariantMap entry(const QString& id, const QString& label) {
    return {{QStringLiteral("id"), id}, {QStringLiteral("label"), label}};
}

QString documentLabel(const DocumentItem& document) {
    const QString name = DocumentText::displayName(document).trimmed();
    return name.isEmpty() ? QStringLiteral("Untitled document") : name;
}

} // namespace

MnemonicGenerationModel::MnemonicGenerationModel(QObject* parent)
    : MnemonicGenerationModel(AuthSession::makeAPIClient(), parent) {}

MnemonicGenerationModel::MnemonicGenerationModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

QVariantList MnemonicGenerationModel::courses() const {
    return CourseChoices::optionsWithAll(courses_);
}

void MnemonicGenerationModel::setCourseId(const QString& courseId) {
    const QString chosen = CourseChoices::contains(courses_, courseId) ? courseId : QString();
    if (chosen == courseId_)
        return;
    courseId_ = chosen;
    settleSelection();
    Q_EMIT selectionChanged();
}

bool MnemonicGenerationModel::passesFilter(const DocumentItem& document) const {
    return courseId_.isEmpty() || CourseFilter::course(courseId_).passes(document);
}

QVariantList MnemonicGenerationModel::documents() const {
    QVariantList options;
    for (const DocumentItem& document : allDocuments_) {
        if (passesFilter(document))
            options << entry(document.id, documentLabel(document));
    }
    return options;
}

const DocumentItem* MnemonicGenerationModel::findDocument(const QString& id) const {
    for (const DocumentItem& document : allDocuments_) {
        if (document.id == id)
            return &document;
    }
    return nullptr;
}

void MnemonicGenerationModel::setDocumentId(const QString& documentId) {
    const DocumentItem* document = findDocument(documentId);
    if (documentId == documentId_ || !document || !passesFilter(*document))
        return;
    documentId_ = documentId;
    Q_EMIT selectionChanged();
    Q_EMIT stateChanged(); // canGenerate
}

QString MnemonicGenerationModel::documentTitle() const {
    const DocumentItem* document = findDocument(documentId_);
    return document ? documentLabel(*document) : QString();
}

void MnemonicGenerationModel::settleSelection() {
    const DocumentItem* selected = findDocument(documentId_);
    if (selected && passesFilter(*selected))
        return;
    documentId_.clear();
    for (const DocumentItem& document : allDocuments_) {
        if (passesFilter(document)) {
            documentId_ = document.id;
            break;
        }
    }
    Q_EMIT stateChanged(); // canGenerate
}

QVariantList MnemonicGenerationModel::types() {
    return {option(QStringLiteral("Any (auto-select)"), QStringLiteral("any")),
            option(QStringLiteral("Acronym"), QStringLiteral("acronym")),
            option(QStringLiteral("Acrostic"), QStringLiteral("acrostic")),
            option(QStringLiteral("Rhyme"), QStringLiteral("rhyme")),
            option(QStringLiteral("Story"), QStringLiteral("story")),
            option(QStringLiteral("Memory Palace"), QStringLiteral("method_of_loci"))};
}

void MnemonicGenerationModel::setMnemonicType(const QString& type) {
    const QVariantList all = types();
    if (type == mnemonicType_ || std::none_of(all.begin(), all.end(), [&](const QVariant& known) {
            return known.toMap().value(QStringLiteral("value")) == type;
        }))
        return;
    mnemonicType_ = type;
    Q_EMIT inputChanged();
}

QVariantList MnemonicGenerationModel::difficulties() {
    return {option(QStringLiteral("Easy"), QStringLiteral("easy")),
            option(QStringLiteral("Medium"), QStringLiteral("medium")),
            option(QStringLiteral("Hard"), QStringLiteral("hard"))};
}

void MnemonicGenerationModel::setDifficulty(const QString& difficulty) {
    static const QStringList known{QStringLiteral("easy"), QStringLiteral("medium"), QStringLiteral("hard")};
    if (difficulty == difficulty_ || !known.contains(difficulty))
        return;
    difficulty_ = difficulty;
    Q_EMIT inputChanged();
}

void MnemonicGenerationModel::setKeyIdeas(const QString& keyIdeas) {
    if (keyIdeas == keyIdeas_)
        return;
    keyIdeas_ = keyIdeas;
    Q_EMIT inputChanged();
}

bool MnemonicGenerationModel::canGenerate() const {
    return findDocument(documentId_) && !isRunning_ && !isLoading_;
}

QString MnemonicGenerationModel::generateLabel() const {
    return isRunning_ ? QStringLiteral("Generating") : QStringLiteral("Create Mnemonic");
}

void MnemonicGenerationModel::begin(const QString& documentId, const QString& courseId) {
    cancel();
    setResult(std::nullopt);
    courseId_ = courseId;
    documentId_ = documentId;
    Q_EMIT selectionChanged();
    load();
}

void MnemonicGenerationModel::load() {
    setError({});
    tasks_.cancel(loadTask_);
    setLoading(true);
    loadTask_ = tasks_.spawn(
        fetchDocuments(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
            loadTask_ = 0;
            setLoading(false);
            setError(QStringLiteral("Couldn't load your documents: ") + FailureMessage::description(error));
        }));
}

async::Task<void> MnemonicGenerationModel::fetchDocuments(MnemonicGenerationModel* self) {
    const UserAPI api(self->client_);
    const BootstrapResponse answer = co_await api.bootstrap();
    self->loadTask_ = 0;
    self->courses_ = answer.courses;
    self->allDocuments_ = answer.documents;
    Q_EMIT self->documentsChanged();
    // The course asked for, if there is one; but a document asked for stays selected, so the
    // filter opens up when that document is in another course.
    const QString wantedCourse = std::exchange(self->courseId_, QString());
    const DocumentItem* wanted = self->findDocument(self->documentId_);
    if (CourseChoices::contains(self->courses_, wantedCourse) &&
        (!wanted || CourseFilter::course(wantedCourse).passes(*wanted)))
        self->courseId_ = wantedCourse;
    self->settleSelection();
    Q_EMIT self->selectionChanged();
    self->setLoading(false);
}

void MnemonicGenerationModel::generate() {
    if (!canGenerate())
        return;
    const DocumentItem* document = findDocument(documentId_);
    MnemonicGenerationRequest request;
    request.documentId = documentId_;
    if (document && document->courseId && !document->courseId->isEmpty())
        request.courseId = document->courseId;
    request.mnemonicType = mnemonicType_;
    request.difficulty = difficulty_;
    const QString ideas = keyIdeas_.trimmed();
    if (!ideas.isEmpty())
        request.keyIdeas = ideas;
    request.store = true;

    setError({});
    setRunning(true);
    generateTask_ = tasks_.spawn(
        requestMnemonic(client_, std::move(request)),
        [this](const MnemonicResponse& answer) {
            generateTask_ = 0;
            setRunning(false);
            setResult(answer);
            Q_EMIT announcement(readyAnnouncement);
        },
        async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
            generateTask_ = 0;
            setRunning(false);
            setError(QStringLiteral("Generation failed: ") + FailureMessage::description(error));
        }));
}

async::Task<MnemonicResponse> MnemonicGenerationModel::requestMnemonic(APIClient client,
                                                                       MnemonicGenerationRequest request) {
    const MnemonicAPI api(client);
    co_return co_await api.generate(request);
}

void MnemonicGenerationModel::tryAnother() {
    setResult(std::nullopt);
    setError({});
}

void MnemonicGenerationModel::cancel() {
    tasks_.cancel(std::exchange(generateTask_, 0));
    setRunning(false);
}

void MnemonicGenerationModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT stateChanged();
}

void MnemonicGenerationModel::setRunning(bool running) {
    if (running == isRunning_)
        return;
    isRunning_ = running;
    Q_EMIT stateChanged();
}

void MnemonicGenerationModel::setError(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT stateChanged();
}

void MnemonicGenerationModel::setResult(std::optional<MnemonicResponse> result) {
    if (!result && !result_)
        return;
    result_ = std::move(result);
    Q_EMIT resultChanged();
}
