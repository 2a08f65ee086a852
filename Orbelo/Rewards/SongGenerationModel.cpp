#include "Rewards/SongGenerationModel.h"

#include "Auth/AuthSession.h"
#include "Common/CourseChoices.h"
#include "Common/CourseFilter.h"
#include "Common/CurrentUser.h"
#include "Common/DocumentText.h"
#include "Common/FailureMessage.h"
#include "Gamification/GamificationAPI.h"
#include "Rewards/LyricsDisplay.h"
#include "User/UserAPI.h"

namespace {

QVariantMap entry(const QString& id, const QString& label) {
    return {{QStringLiteral("id"), id}, {QStringLiteral("label"), label}};
}

const QString firstGenre = QStringLiteral("hip-hop");

} // namespace

SongGenerationModel::SongGenerationModel(QObject* parent)
    : SongGenerationModel(AuthSession::makeAPIClient(), CurrentUser::id, parent) {}

SongGenerationModel::SongGenerationModel(APIClient client, UserIdSource userId, QObject* parent)
    : QObject(parent), client_(std::move(client)), userId_(std::move(userId)), genre_(firstGenre) {}

QVariantList SongGenerationModel::courses() const {
    return CourseChoices::optionsWithAll(courses_);
}

void SongGenerationModel::setCourseId(const QString& courseId) {
    const QString chosen = CourseChoices::contains(courses_, courseId) ? courseId : QString();
    if (chosen == courseId_)
        return;
    courseId_ = chosen;
    // A document outside the new course goes back to the automatic choice.
    const auto kept = std::find_if(documents_.cbegin(), documents_.cend(),
                                   [&](const DocumentItem& d) { return d.id == documentId_; });
    if (kept == documents_.cend() || !passesFilter(*kept))
        documentId_.clear();
    Q_EMIT selectionChanged();
    Q_EMIT stateChanged();
}

bool SongGenerationModel::passesFilter(const DocumentItem& document) const {
    return courseId_.isEmpty() || CourseFilter::course(courseId_).passes(document);
}

QVariantList SongGenerationModel::documents() const {
    QVariantList options{entry({}, QStringLiteral("Any (auto-select)"))};
    for (const DocumentItem& document : documents_) {
        if (!passesFilter(document))
            continue;
        const QString name = DocumentText::displayName(document).trimmed();
        options << entry(document.id, name.isEmpty() ? QStringLiteral("Untitled document") : name);
    }
    return options;
}

void SongGenerationModel::setDocumentId(const QString& documentId) {
    if (documentId == documentId_)
        return;
    documentId_ = documentId;
    Q_EMIT selectionChanged();
}

QString SongGenerationModel::documentsMessage() const {
    if (isLoading() && !loaded_)
        return QStringLiteral("Loading your documents…");
    if (!loaded_)
        return {};
    if (documents_.isEmpty())
        return QStringLiteral("No documents found. Upload a document in the Library tab first.");
    if (documents().size() == 1)
        return QStringLiteral("No documents in this course. Pick a different course or upload one.");
    return {};
}

QVariantList SongGenerationModel::genres() {
    const auto genre = [](const char* value, const char* label) {
        return QVariantMap{{QStringLiteral("value"), QString::fromUtf8(value)},
                           {QStringLiteral("label"), QString::fromUtf8(label)}};
    };
    return {genre("hip-hop", "Hip-Hop"), genre("rock", "Rock"), genre("lo-fi", "Lo-fi"),
            genre("acoustic", "Acoustic"), genre("country", "Country")};
}

void SongGenerationModel::setGenre(const QString& genre) {
    if (genre == genre_)
        return;
    genre_ = genre;
    Q_EMIT inputChanged();
}

void SongGenerationModel::setKeyIdeas(const QString& keyIdeas) {
    if (keyIdeas == keyIdeas_)
        return;
    keyIdeas_ = keyIdeas;
    Q_EMIT inputChanged();
}

QString SongGenerationModel::generateLabel() const {
    return isGenerating() ? QStringLiteral("Composing…") : QStringLiteral("Generate Song");
}

bool SongGenerationModel::canGenerate() const {
    return loaded_ && !documents_.isEmpty() && !isLoading() && !isGenerating() && !userRewardId_.isEmpty();
}

QVariantList SongGenerationModel::lyricsLines() const {
    return LyricsDisplay::lines(lyrics());
}

QString SongGenerationModel::lyricsSpoken() const {
    return LyricsDisplay::spokenText(lyrics());
}

UseSongRewardRequest SongGenerationModel::request(const QString& userId, const QString& userRewardId,
                                                  const QString& documentId, const QString& courseId,
                                                  const QString& genre, const QString& keyIdeas) {
    UseSongRewardRequest body;
    body.userId = userId;
    body.userRewardId = userRewardId;
    if (!documentId.isEmpty())
        body.documentId = documentId;
    if (!courseId.isEmpty())
        body.courseId = courseId;
    body.genre = genre;
    if (const QString style = keyIdeas.trimmed(); !style.isEmpty())
        body.style = style;
    return body;
}

void SongGenerationModel::begin(const QString& userRewardId) {
    cancel();
    userRewardId_ = userRewardId;
    result_.reset();
    errorMessage_.clear();
    loading_ = tasks_.spawn(
        fetchLibrary(client_),
        [this](Library library) {
            loading_ = 0;
            loaded_ = true;
            courses_ = std::move(library.courses);
            documents_ = std::move(library.documents);
            if (!CourseChoices::contains(courses_, courseId_))
                courseId_.clear();
            Q_EMIT libraryChanged();
            Q_EMIT selectionChanged();
            Q_EMIT stateChanged();
        },
        [this](std::exception_ptr error) {
            loading_ = 0;
            errorMessage_ =
                QStringLiteral("Couldn't load your documents: ") + FailureMessage::description(error);
            Q_EMIT selectionChanged();
            Q_EMIT stateChanged();
        });
    Q_EMIT selectionChanged();
    Q_EMIT stateChanged();
}

async::Task<SongGenerationModel::Library> SongGenerationModel::fetchLibrary(APIClient client) {
    const BootstrapResponse answer = co_await UserAPI(client).bootstrap();
    co_return Library{answer.courses, answer.documents};
}

void SongGenerationModel::generate() {
    if (!canGenerate())
        return;
    const std::optional<QString> user = userId_();
    if (!user || user->isEmpty()) {
        errorMessage_ = QStringLiteral("Generation failed: Sign in to view your rewards.");
        Q_EMIT stateChanged();
        return;
    }
    errorMessage_.clear();
    generating_ = tasks_.spawn(
        makeSong(client_, request(*user, userRewardId_, documentId_, courseId_, genre_, keyIdeas_)),
        [this](SongGenerationResult result) {
            generating_ = 0;
            result_ = std::move(result);
            Q_EMIT stateChanged();
        },
        [this](std::exception_ptr error) {
            generating_ = 0;
            errorMessage_ = QStringLiteral("Generation failed: ") + FailureMessage::description(error);
            Q_EMIT stateChanged();
        });
    Q_EMIT stateChanged();
}

async::Task<SongGenerationResult> SongGenerationModel::makeSong(APIClient client,
                                                                UseSongRewardRequest request) {
    co_return co_await GamificationAPI(client).makeSong(request);
}

void SongGenerationModel::cancel() {
    tasks_.cancel(loading_);
    tasks_.cancel(generating_);
    const bool changed = loading_ || generating_;
    loading_ = 0;
    generating_ = 0;
    if (changed)
        Q_EMIT stateChanged();
}
