#include "Flashcards/FlashcardDeckModel.h"

#include "Auth/AuthSession.h"
#include "Common/CourseChoices.h"
#include "Common/FailureMessage.h"
#include "Flashcards/FlashcardMessages.h"
#include "Flashcards/FlashcardVocabularyDeck.h"
#include "Flashcards/FlashcardsAPI.h"
#include "Flashcards/VocabularyAPI.h"
#include "JSONValue.h"
#include "JobsAPI.h"
#include "PreferencesStore.h"
#include "User/UserAPI.h"

namespace {

// A card belongs to a course when its course or document is the course under either of its ids.
bool belongsTo(const Flashcard& card, const CourseSummary& course) {
    QStringList ids{course.courseId};
    if (course.documentId && !course.documentId->isEmpty())
        ids << *course.documentId;
    return (card.courseId && ids.contains(*card.courseId)) ||
           (card.documentId && ids.contains(*card.documentId));
}

} // namespace

struct FlashcardDeckModel::Deck {
    QString title;
    QList<Flashcard> cards;
    // "By course": the vocabulary's failure, which leaves the deck to the saved cards.
    std::exception_ptr vocabularyError;
};

FlashcardDeckModel::FlashcardDeckModel(QObject* parent)
    : FlashcardDeckModel(AuthSession::makeAPIClient(), PreferencesStore::standard(), parent) {}

FlashcardDeckModel::FlashcardDeckModel(APIClient client, PreferencesStore& preferences, QObject* parent)
    : QObject(parent), client_(client), session_(client, preferences, this), walk_(this) {
    connect(&session_, &FlashcardReviewSession::finished, this, [this] {
        if (phase_ == Phase::Review)
            setPhase(Phase::Complete);
    });
    connect(&walk_, &FlashcardWalk::finished, this, [this] {
        if (phase_ == Phase::Walk)
            setPhase(Phase::Complete);
    });
}

QVariantList FlashcardDeckModel::modes() {
    const auto mode = [](const QString& label, const QString& description) {
        return QVariantMap{{QStringLiteral("label"), label}, {QStringLiteral("description"), description}};
    };
    return {
        mode(QStringLiteral("Due soon"), QStringLiteral("Shows cards due for review across all courses.")),
        mode(QStringLiteral("By course"),
             QStringLiteral("Your saved flashcards for this course, plus its vocabulary.")),
        mode(QStringLiteral("Vocabulary"),
             QStringLiteral("Study this course's vocabulary as notecards — term "
                            "on the front, definition on the back."))};
}

void FlashcardDeckModel::setMode(int mode) {
    if (mode == int(mode_) || mode < int(Mode::dueSoon) || mode > int(Mode::vocabulary))
        return;
    mode_ = Mode(mode);
    Q_EMIT modeChanged();
    if (phase_ == Phase::Setup)
        loadDeck();
}

QString FlashcardDeckModel::modeDescription() const {
    return modes().at(int(mode_)).toMap().value(QStringLiteral("description")).toString();
}

QVariantList FlashcardDeckModel::courses() const {
    return CourseChoices::options(courses_);
}

void FlashcardDeckModel::selectCourse(const QString& courseId) {
    if (courseId == selectedCourseId_ || !CourseChoices::contains(courses_, courseId))
        return;
    selectedCourseId_ = courseId;
    Q_EMIT selectedCourseChanged();
    if (phase_ == Phase::Setup && needsCourse())
        loadDeck();
}

std::optional<CourseSummary> FlashcardDeckModel::selectedCourse() const {
    for (const CourseSummary& course : courses_) {
        if (course.courseId == selectedCourseId_)
            return course;
    }
    return std::nullopt;
}

QString FlashcardDeckModel::generateLabel() const {
    return isGenerating_ ? QStringLiteral("Starting…") : QStringLiteral("Generate vocabulary");
}

QString FlashcardDeckModel::synonymsLabel() const {
    return isGeneratingSynonyms_ ? QStringLiteral("Generating…") : QStringLiteral("Generate synonyms");
}

void FlashcardDeckModel::load() {
    setNoticeText({});
    tasks_.spawn(loadCourses(this));
}

async::Task<void> FlashcardDeckModel::loadCourses(FlashcardDeckModel* self) {
    self->setLoading(true);
    try {
        const UserAPI api(self->client_);
        const BootstrapResponse answer = co_await api.bootstrap();
        self->courses_ = answer.courses;
    } catch (...) {
        self->setStatusText(QStringLiteral("Couldn't load courses: ") +
                            FailureMessage::describe(std::current_exception()));
        self->setLoading(false);
        co_return;
    }
    Q_EMIT self->coursesChanged();
    if (!self->selectedCourse()) {
        self->selectedCourseId_ = self->courses_.isEmpty() ? QString() : self->courses_.first().courseId;
        Q_EMIT self->selectedCourseChanged();
    }
    self->loadDeck();
}

void FlashcardDeckModel::reload() {
    loadDeck();
}

void FlashcardDeckModel::loadDeck(bool generateWhenEmpty) {
    tasks_.cancel(std::exchange(deckTask_, 0));
    const std::optional<CourseSummary> course = selectedCourse();
    if (needsCourse() && !course) {
        setLoading(false);
        deck_.clear();
        Q_EMIT deckChanged();
        setStatusText(QStringLiteral("Add a course from the Library tab first."));
        return;
    }
    // A reload after a generation keeps its "check back" line until there is a deck to show.
    if (generateWhenEmpty)
        setStatusText({});
    setLoading(true);
    deckTask_ = tasks_.spawn(
        fetchDeck(client_, mode_, course.value_or(CourseSummary())),
        [this, generateWhenEmpty](const Deck& deck) { showDeck(deck, generateWhenEmpty); },
        async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
            deckTask_ = 0;
            setLoading(false);
            setStatusText(mode_ == Mode::vocabulary
                              ? FlashcardMessages::vocabularyLoadFailed(error)
                              : FailureMessage::compose(QStringLiteral("Couldn't load your cards"), error));
        }));
}

async::Task<FlashcardDeckModel::Deck> FlashcardDeckModel::fetchDeck(APIClient client, Mode mode,
                                                                    CourseSummary course) {
    const FlashcardsAPI flashcards(client);
    const VocabularyAPI vocabulary(client);
    Deck deck;
    switch (mode) {
    case Mode::dueSoon: {
        const DueFlashcardsResponse due = co_await flashcards.dueFlashcards();
        deck.title = QStringLiteral("Due cards");
        deck.cards = due.flashcards;
        break;
    }
    case Mode::byCourse: {
        const FlashcardListResponse all = co_await flashcards.flashcards();
        for (const Flashcard& card : all.flashcards) {
            if (belongsTo(card, course))
                deck.cards << card;
        }
        deck.title = CourseChoices::label(course);
        try {
            const VocabularyResponse terms = co_await vocabulary.vocabulary(course.courseId);
            deck.cards << FlashcardVocabularyDeck::make(CourseChoices::label(course), terms.vocabulary).cards;
        } catch (...) {
            deck.vocabularyError = std::current_exception();
        }
        break;
    }
    case Mode::vocabulary: {
        const VocabularyResponse terms = co_await vocabulary.vocabulary(course.courseId);
        const FlashcardVocabularyDeck vocabularyDeck =
            FlashcardVocabularyDeck::make(CourseChoices::label(course), terms.vocabulary);
        deck.title = vocabularyDeck.title;
        deck.cards = vocabularyDeck.cards;
        break;
    }
    }
    co_return deck;
}

void FlashcardDeckModel::showDeck(const Deck& deck, bool generateWhenEmpty) {
    deckTask_ = 0;
    deck_ = deck.cards;
    deckTitle_ = deck.title;
    setLoading(false);
    Q_EMIT deckChanged();
    if (!deck_.isEmpty()) {
        setStatusText({});
        return;
    }
    switch (mode_) {
    case Mode::dueSoon:
        setStatusText(
            QStringLiteral("No cards due right now. Try “By course” or create flashcards on the web app."));
        break;
    case Mode::byCourse:
        if (deck.vocabularyError)
            setStatusText(FlashcardMessages::vocabularyLoadFailed(deck.vocabularyError));
        else if (generateWhenEmpty)
            startGeneration(QStringLiteral("flashcards or vocabulary"));
        break;
    case Mode::vocabulary:
        if (generateWhenEmpty)
            startGeneration(QStringLiteral("vocabulary"));
        break;
    }
}

void FlashcardDeckModel::generateVocabulary() {
    startGeneration(QStringLiteral("vocabulary"));
}

void FlashcardDeckModel::startGeneration(const QString& noun) {
    const std::optional<CourseSummary> course = selectedCourse();
    if (!course) {
        setStatusText(QStringLiteral("Pick a course first."));
        return;
    }
    if (isGenerating_)
        return;
    setGenerating(true);
    tasks_.spawn(runGeneration(this, course->courseId, noun),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     setStatusText(FlashcardMessages::generationFailed(error));
                     setGenerating(false);
                 }));
}

async::Task<void> FlashcardDeckModel::runGeneration(FlashcardDeckModel* self, QString courseId,
                                                    QString noun) {
    const VocabularyAPI api(self->client_);
    const VocabularyGenerateResponse answer = co_await api.generate(courseId);
    self->setStatusText(FlashcardMessages::generationStarted(noun));
    self->setGenerating(false);
    if (answer.jobId && !answer.jobId->isEmpty())
        self->tasks_.spawn(followGeneration(self, courseId, *answer.jobId));
}

// When the queued job is done the deck is loaded again, once, so the new vocabulary shows without
// another visit; a failed or abandoned job only leaves the "check back" line.
async::Task<void> FlashcardDeckModel::followGeneration(FlashcardDeckModel* self, QString courseId,
                                                       QString jobId) {
    co_await JobsAPI(self->client_).waitForResult<JSONValue>(jobId);
    if (self->phase_ == Phase::Setup && self->needsCourse() && self->selectedCourseId_ == courseId)
        self->loadDeck(false);
}

void FlashcardDeckModel::generateSynonyms() {
    const std::optional<CourseSummary> course = selectedCourse();
    if (!course || isGeneratingSynonyms_)
        return;
    setGeneratingSynonyms(true);
    setSynonymsError({});
    tasks_.spawn(runSynonyms(this, course->courseId),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr) {
                     setSynonymsError(QStringLiteral("Couldn't generate synonyms. Please try again."));
                     setGeneratingSynonyms(false);
                 }));
}

async::Task<void> FlashcardDeckModel::runSynonyms(FlashcardDeckModel* self, QString courseId) {
    const VocabularyAPI api(self->client_);
    const VocabularyResponse answer = co_await api.enrichSynonyms(courseId);
    FlashcardDeckCursor::mergeSynonyms(self->deck_, answer.vocabulary);
    self->session_.mergeSynonyms(answer.vocabulary);
    self->walk_.mergeSynonyms(answer.vocabulary);
    self->setGeneratingSynonyms(false);
}

void FlashcardDeckModel::start() {
    if (!canStart())
        return;
    if (mode_ == Mode::vocabulary) {
        walk_.start(deck_);
        setPhase(Phase::Walk);
    } else {
        session_.start(deck_);
        setPhase(Phase::Review);
    }
}

void FlashcardDeckModel::exit() {
    if (phase_ == Phase::Review || phase_ == Phase::Walk)
        setPhase(Phase::Setup);
}

void FlashcardDeckModel::back() {
    if (phase_ != Phase::Complete)
        return;
    setPhase(Phase::Setup);
    // The reviewed cards are scheduled further out now.
    loadDeck();
}

void FlashcardDeckModel::importFinished(int count, const QString& courseId) {
    setNoticeText(FlashcardMessages::cardsAdded(count));
    // The deck follows the cards: that course's cards, whatever was shown before.
    const bool known = courseId.isEmpty() || CourseChoices::contains(courses_, courseId);
    if (!courseId.isEmpty() && courseId != selectedCourseId_) {
        selectedCourseId_ = courseId;
        Q_EMIT selectedCourseChanged();
    }
    if (mode_ != Mode::byCourse) {
        mode_ = Mode::byCourse;
        Q_EMIT modeChanged();
    }
    // A course made since the list loaded comes with the list loaded again, then its deck.
    if (known)
        loadDeck();
    else
        tasks_.spawn(loadCourses(this));
}

void FlashcardDeckModel::setPhase(Phase phase) {
    if (phase == phase_)
        return;
    phase_ = phase;
    Q_EMIT phaseChanged();
    Q_EMIT deckChanged(); // canStart
}

void FlashcardDeckModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
    Q_EMIT deckChanged(); // canStart
}

void FlashcardDeckModel::setGenerating(bool generating) {
    if (generating == isGenerating_)
        return;
    isGenerating_ = generating;
    Q_EMIT isGeneratingChanged();
}

void FlashcardDeckModel::setGeneratingSynonyms(bool generating) {
    if (generating == isGeneratingSynonyms_)
        return;
    isGeneratingSynonyms_ = generating;
    Q_EMIT isGeneratingSynonymsChanged();
}

void FlashcardDeckModel::setSynonymsError(const QString& message) {
    if (message == synonymsError_)
        return;
    synonymsError_ = message;
    Q_EMIT synonymsErrorChanged();
}

void FlashcardDeckModel::setStatusText(const QString& text) {
    if (text == statusText_)
        return;
    statusText_ = text;
    Q_EMIT statusTextChanged();
}

void FlashcardDeckModel::setNoticeText(const QString& text) {
    if (text == noticeText_)
        return;
    noticeText_ = text;
    Q_EMIT noticeTextChanged();
}
