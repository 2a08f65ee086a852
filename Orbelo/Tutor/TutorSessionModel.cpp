#include "Tutor/TutorSessionModel.h"

#include "Auth/AuthSession.h"
#include "Common/CourseChoices.h"
#include "Common/CurrentUser.h"
#include "Common/FailureMessage.h"
#include "Flashcards/FlashcardsAPI.h"
#include "GuidedReading/GuidedReadingAPI.h"
#include "Quiz/QuizGrading.h"
#include "Quizzes/QuizAPI.h"
#include "Tutor/TutorSessionPlan.h"
#include "User/UserAPI.h"

using namespace std::chrono_literals;

namespace {

// Material that can't be had leaves its step empty: the session goes on with the rest.
template <class T> async::Task<std::optional<T>> optional(async::Task<T> task) {
    try {
        co_return co_await std::move(task);
    } catch (...) {
        co_return std::nullopt;
    }
}

} // namespace

TutorSessionModel::TutorSessionModel(QObject* parent)
    : TutorSessionModel(AuthSession::makeAPIClient(), CurrentUser::id, parent) {}

TutorSessionModel::TutorSessionModel(APIClient client, UserIdSource userId, QObject* parent)
    : QObject(parent), client_(std::move(client)), userId_(std::move(userId)) {}

TutorSessionModel::~TutorSessionModel() {
    stopTimer();
}

QVariantList TutorSessionModel::courses() const {
    return CourseChoices::options(courses_);
}

async::Task<QList<CourseSummary>> TutorSessionModel::fetchCourses(APIClient client) {
    co_return (co_await UserAPI(std::move(client)).bootstrap()).courses;
}

void TutorSessionModel::loadCourses() {
    tasks_.spawn(
        fetchCourses(client_),
        [this](QList<CourseSummary> courses) {
            courses_ = std::move(courses);
            Q_EMIT changed();
        },
        [this](std::exception_ptr error) {
            errorMessage_ = FailureMessage::compose(QStringLiteral("Couldn't load your courses"), error);
            Q_EMIT changed();
        });
}

async::Task<TutorSessionModel::Material> TutorSessionModel::open(APIClient client,
                                                                 UseTutorSessionRequest request) {
    Material material;
    material.session = co_await client.post<TutorSessionStart>(
        QStringLiteral("/api/gamification/rewards/use/tutor-session"), request);
    const QString courseId = request.courseId;
    if (const auto plan = co_await optional(
            GuidedReadingAPI(client).plan(courseId, ReadingTemplateType::quickReview, std::nullopt)))
        material.questions = TutorSessionPlan::guideQuestions(*plan);
    if (const auto due = co_await optional(FlashcardsAPI(client).dueFlashcards()))
        material.cards = TutorSessionPlan::courseCards(due->flashcards, courseId);
    GenerateQuizRequest quiz;
    quiz.numQuestions = TutorSessionPlan::quizQuestions;
    quiz.difficulty = QuizDifficulty::easy;
    quiz.questionType = QuizQuestionType::multipleChoice;
    if (const auto generated = co_await optional(QuizAPI(client).generate(courseId, quiz)))
        material.quiz = generated->questions;
    co_return material;
}

void TutorSessionModel::start(const QString& userRewardId, const QString& courseId) {
    const std::optional<QString> user = userId_();
    if (busy_ || phase_ != choosing || !user || courseId.isEmpty())
        return;
    busy_ = true;
    errorMessage_.clear();
    phase_ = starting;
    for (const CourseSummary& course : courses_)
        if (course.courseId == courseId)
            courseName_ = CourseChoices::label(course);
    Q_EMIT changed();
    tasks_.spawn(
        open(client_, UseTutorSessionRequest{*user, userRewardId, courseId}),
        [this](Material material) { begin(std::move(material)); },
        [this](std::exception_ptr error) {
            busy_ = false;
            phase_ = choosing;
            errorMessage_ =
                FailureMessage::compose(QStringLiteral("Couldn't start the tutor session"), error);
            Q_EMIT changed();
        });
}

void TutorSessionModel::begin(Material material) {
    material_ = std::move(material);
    busy_ = false;
    if (material_.session.courseName && !material_.session.courseName->isEmpty())
        courseName_ = *material_.session.courseName;
    // The time runs from when the material is in front of the student.
    startedAt_ = async::Clock::current().now();
    deadline_ = startedAt_.addSecs(qint64(std::max(1, material_.session.durationMinutes)) * 60);
    answered_ = 0;
    ratings_ = {0, 0, 0, 0};
    quizAnswers_.clear();
    timeUp_ = false;
    scheduleTick();
    enter(questions);
}

void TutorSessionModel::enter(const QString& from) {
    static const QStringList order{questions, cards, quiz};
    index_ = 0;
    answerShown_ = false;
    for (qsizetype i = order.indexOf(from); i >= 0 && i < order.size(); ++i) {
        const QString step = order[i];
        const bool has = (step == questions && !material_.questions.isEmpty()) ||
                         (step == cards && !material_.cards.isEmpty()) ||
                         (step == quiz && !material_.quiz.isEmpty());
        if (has) {
            phase_ = step;
            Q_EMIT changed();
            return;
        }
    }
    conclude();
}

void TutorSessionModel::advanceWithin(int size) {
    answerShown_ = false;
    if (++index_ < size) {
        Q_EMIT changed();
        return;
    }
    static const QStringList order{questions, cards, quiz};
    const qsizetype at = order.indexOf(phase_);
    if (at + 1 < order.size())
        enter(order[at + 1]);
    else
        conclude();
}

void TutorSessionModel::showAnswer() {
    if (phase_ != questions && phase_ != cards)
        return;
    answerShown_ = true;
    Q_EMIT changed();
}

void TutorSessionModel::next() {
    if (phase_ != questions)
        return;
    ++answered_;
    advanceWithin(int(material_.questions.size()));
}

void TutorSessionModel::rate(int quality) {
    if (phase_ != cards || quality < 0 || quality > 3)
        return;
    const Flashcard card = material_.cards.value(index_);
    FlashcardReviewRequest review;
    review.quality = quality;
    // The rating counts here; the schedule follows on the server, and a failed review is not retried.
    tasks_.spawn(
        FlashcardsAPI(client_).review(card.id, review), [](FlashcardReviewResponse) {},
        [](std::exception_ptr) {});
    ++ratings_[quality];
    advanceWithin(int(material_.cards.size()));
}

void TutorSessionModel::choose(int index) {
    if (phase_ != quiz || index < 0 || index >= material_.quiz.value(index_).options.size())
        return;
    quizAnswers_ << index;
    advanceWithin(int(material_.quiz.size()));
}

void TutorSessionModel::skipStep() {
    if (phase_ == questions)
        enter(cards);
    else if (phase_ == cards)
        enter(quiz);
    else if (phase_ == quiz)
        conclude();
}

void TutorSessionModel::finish() {
    if (phase_ == questions || phase_ == cards || phase_ == quiz)
        conclude();
}

void TutorSessionModel::conclude() {
    stopTimer();
    endedAt_ = std::min(async::Clock::current().now(), deadline_);
    phase_ = summary;
    Q_EMIT changed();
    Q_EMIT tick();
}

void TutorSessionModel::reset() {
    if (phase_ != summary && phase_ != choosing)
        return;
    stopTimer();
    material_ = {};
    phase_ = choosing;
    Q_EMIT changed();
}

int TutorSessionModel::quizCorrect() const {
    int correct = 0;
    for (int i = 0; i < quizAnswers_.size(); ++i)
        correct += QuizGrading::isCorrect(QuizQuestionType::multipleChoice, material_.quiz.value(i),
                                          QString::number(quizAnswers_[i]));
    return correct;
}

qint64 TutorSessionModel::remainingMs() const {
    if (!deadline_.isValid())
        return 0;
    const QDateTime now = phase_ == summary ? endedAt_ : async::Clock::current().now();
    return std::max<qint64>(0, now.msecsTo(deadline_));
}

QString TutorSessionModel::remainingText() const {
    return TutorSessionPlan::remainingText(remainingMs());
}

void TutorSessionModel::scheduleTick() {
    stopTimer();
    const qint64 left = remainingMs();
    // Wake at the next whole second shown, or at the deadline.
    const qint64 wait = left % 1000 == 0 ? 1000 : left % 1000;
    timer_ = async::Clock::current().schedule(std::chrono::milliseconds(std::min(left, wait)), [this] {
        timer_ = 0;
        if (remainingMs() <= 0) {
            timeUp_ = true;
            conclude();
            return;
        }
        Q_EMIT tick();
        scheduleTick();
    });
}

void TutorSessionModel::stopTimer() {
    if (timer_)
        async::Clock::current().cancel(timer_);
    timer_ = 0;
}

QString TutorSessionModel::stepText() const {
    if (phase_ == questions)
        return QStringLiteral("Step 1 of 3: Reading-guide questions");
    if (phase_ == cards)
        return QStringLiteral("Step 2 of 3: Due cards");
    if (phase_ == quiz)
        return QStringLiteral("Step 3 of 3: Short quiz");
    return {};
}

QString TutorSessionModel::positionText() const {
    const auto of = [this](const QString& noun, qsizetype total) {
        return QStringLiteral("%1 %2 of %3").arg(noun).arg(index_ + 1).arg(total);
    };
    if (phase_ == questions)
        return of(QStringLiteral("Question"), material_.questions.size());
    if (phase_ == cards)
        return of(QStringLiteral("Card"), material_.cards.size());
    if (phase_ == quiz)
        return of(QStringLiteral("Question"), material_.quiz.size());
    return {};
}

QString TutorSessionModel::prompt() const {
    if (phase_ == questions)
        return material_.questions.value(index_).question;
    if (phase_ == cards)
        return material_.cards.value(index_).front;
    if (phase_ == quiz)
        return material_.quiz.value(index_).question;
    return {};
}

QString TutorSessionModel::answer() const {
    if (phase_ == questions)
        return material_.questions.value(index_).expectedAnswer.value_or(
            QStringLiteral("The guide gives no answer for this one: check it against your notes."));
    if (phase_ == cards)
        return material_.cards.value(index_).back;
    return {};
}

QStringList TutorSessionModel::options() const {
    return phase_ == quiz ? QStringList(material_.quiz.value(index_).options) : QStringList();
}

QStringList TutorSessionModel::summaryLines() const {
    if (phase_ != summary)
        return {};
    const qint64 usedMs = startedAt_.msecsTo(endedAt_);
    QStringList lines;
    lines << (timeUp_ ? QStringLiteral("Time's up: the 30 minutes are over.")
                      : QStringLiteral("Session finished with %1 to spare.").arg(remainingText()));
    lines << QStringLiteral("Time spent: %1").arg(TutorSessionPlan::remainingText(usedMs));
    lines << QStringLiteral("Questions answered: %1 of %2").arg(answered_).arg(material_.questions.size());
    lines << TutorSessionPlan::cardsLine(ratings_);
    lines << QStringLiteral("Quiz score: %1 of %2 correct").arg(quizCorrect()).arg(quizAnswers_.size());
    return lines;
}
