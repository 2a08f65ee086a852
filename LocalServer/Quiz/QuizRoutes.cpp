#include "Quiz/QuizRoutes.h"

#include "Rewards/UserRewardStore.h"

#include "Library/LibraryStore.h"
#include "Rewards/UserRewardStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"
#include "Storage/UserTimeZone.h"
#include "Terms/WordNet.h"

#include <QDateTime>
#include <algorithm>

namespace {

const QHash<QString, QString>& typeLabels() {
    static const QHash<QString, QString> labels{{"multiple_choice", "multiple-choice"},
                                                {"true_false", "true/false"},
                                                {"fill_in_blank", "fill-in-the-blank"}};
    return labels;
}

} // namespace

QSet<QString> QuizRoutes::wordNetRelated(const QString& term) {
    QSet<QString> words;
    const auto entry = WordNet::lookup(term);
    if (!entry)
        return words;
    for (const QJsonValue& synonym : entry->synonyms)
        words.insert(synonym.toObject().value("synonym").toString().toLower());
    for (const QJsonArray& list : {entry->relatedTerms, entry->antonyms})
        for (const QJsonValue& word : list)
            words.insert(word.toString().toLower());
    return words;
}

JobQueue::Runner QuizRoutes::runner() {
    return {{},
            [this](const JobQueue::Job& job) { return generateQueued(job); },
            [this](const JobQueue::Job& job, const QString&) {
                QuizStore(context_).refund(job.userId, job.input.value("course_id").toString(),
                                           job.input.value("day").toString());
            }};
}

QString QuizRoutes::formatCooldown(qint64 remainingMs) {
    const qint64 minutes = (std::max<qint64>(remainingMs, 0) + 59'999) / 60'000;
    if (minutes < 60)
        return QStringLiteral("%1m").arg(minutes);
    if (minutes % 60 == 0)
        return QStringLiteral("%1h").arg(minutes / 60);
    return QStringLiteral("%1h %2m").arg(QString::number(minutes / 60), QString::number(minutes % 60));
}

QuizRoutes::Quota QuizRoutes::quota(const QString& userId, const QString& courseId) {
    const QTimeZone zone = UserTimeZone::of(context_.db, userId).zone;
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(context_.nowMs(), zone);
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0), zone);
    const QString day = now.date().toString(Qt::ISODate);
    return {
        day, QuizStore(context_).generations(userId, courseId, day), now.msecsTo(midnight),
        UserRewardStore(context_).activeUntil(userId, UserRewardStore::premiumType, now.toMSecsSinceEpoch())};
}

QString QuizRoutes::exhausted(const Quota& quota) {
    return QStringLiteral("You've used all %1 quiz generations for this course today. More in %2.")
        .arg(QString::number(maxDailyGenerations), formatCooldown(quota.untilMidnightMs));
}

QuizRoutes::Sources QuizRoutes::sources(const QString& userId, const QString& courseId) {
    Sources out;
    const auto course = LibraryStore(context_).course(courseId, userId);
    out.courseName = course ? course->value("name").toString() : QString();
    // The course's own documents and the syllabus it was made from.
    for (const QVariantMap& row : LibraryStore(context_).courseTexts(userId, courseId)) {
        const QString title = row.value("title").toString();
        out.documents.append(
            {title.isEmpty() ? row.value("filename").toString() : title, row.value("text").toString()});
        out.chars += out.documents.last().text.size();
    }
    return out;
}

QuizGenerator::Result QuizRoutes::make(const Sources& sources, const QuizStore::Key& key, int attempt) {
    return QuizGenerator::generate(sources.documents,
                                   {key.questionType, key.difficulty, key.topic, key.count, quint32(attempt)},
                                   wordNetRelated, WordNet::coordinateTerms);
}

QJsonObject QuizRoutes::quizJson(const Sources& sources, const QuizStore::Key& key,
                                 const QuizGenerator::Result& made) {
    const QJsonArray& questions = made.questions;
    QString title = sources.courseName + QStringLiteral(" practice test");
    if (!key.topic.isEmpty())
        title += QStringLiteral(": ") + key.topic;
    const QString description =
        QStringLiteral("%1 %2 question%3 (%4) from %5 document%6 of this course.")
            .arg(QString::number(questions.size()), typeLabels().value(key.questionType),
                 questions.size() == 1 ? QString() : QStringLiteral("s"), key.difficulty,
                 QString::number(sources.documents.size()),
                 sources.documents.size() == 1 ? QString() : QStringLiteral("s"));
    // Completions name the quiz by this id; only a quiz the server handed out earns.
    QJsonObject quiz{{"quiz_id", RandomId::make("quiz")},   {"title", title},
                     {"description", description},          {"questions", questions},
                     {"total_questions", questions.size()}, {"difficulty", key.difficulty}};
    if (!made.note.isEmpty())
        quiz.insert("note", made.note);
    return quiz;
}

QJsonObject QuizRoutes::answerJson(QJsonObject quiz, bool fromCache, int attempts, const Quota& quota) {
    quiz.insert("from_cache", fromCache);
    quiz.insert("attempt_count", attempts);
    addQuota(quiz, quota);
    return quiz;
}

void QuizRoutes::addQuota(QJsonObject& answer, const Quota& quota) {
    answer.insert("can_regenerate", !quota.exhausted());
    answer.insert("daily_generations_used", quota.used);
    answer.insert("daily_generations_remaining", std::max(0, maxDailyGenerations - quota.used));
    answer.insert("max_daily_generations", maxDailyGenerations);
    if (quota.unlimitedUntilMs)
        answer.insert(
            "unlimited_until",
            QDateTime::fromMSecsSinceEpoch(*quota.unlimitedUntilMs, Qt::UTC).toString(Qt::ISODateWithMs));
}

ServerResponse QuizRoutes::cacheStatus(const ServerRequest& request, const QString& userId) {
    const QString courseId = request.param(0);
    if (!LibraryStore(context_).course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const QString type = request.query.queryItemValue("question_type");
    if (!QuizGenerator::isQuestionType(type))
        return ServerResponse::apiError(
            422, "question_type must be multiple_choice, true_false or fill_in_blank.");
    const Quota today = quota(userId, courseId);
    QJsonObject answer{
        {"has_cached_quiz", QuizStore(context_).hasCached(userId, courseId, type)},
        {"cooldown_remaining_formatted",
         today.exhausted() ? QJsonValue(formatCooldown(today.untilMidnightMs)) : QJsonValue::Null}};
    addQuota(answer, today);
    return ServerResponse::json(answer);
}

ServerResponse QuizRoutes::generate(const ServerRequest& request, const QString& userId) {
    const QString courseId = request.param(0);
    if (!LibraryStore(context_).course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const QJsonObject body = request.jsonBody();
    QuizStore::Key key{
        userId,    courseId, body.value("question_type").toString(), body.value("difficulty").toString(),
        QString(), 0};
    if (!QuizGenerator::isQuestionType(key.questionType))
        return ServerResponse::apiError(
            422, "question_type must be multiple_choice, true_false or fill_in_blank.");
    if (!QuizGenerator::isDifficulty(key.difficulty))
        return ServerResponse::apiError(422, "difficulty must be easy, medium or hard.");
    const QJsonValue count = body.value("num_questions");
    key.count = count.toInt();
    if (!count.isDouble() || count.toDouble() != key.count || key.count < QuizGenerator::minQuestions ||
        key.count > QuizGenerator::maxQuestions)
        return ServerResponse::apiError(422,
                                        QStringLiteral("num_questions must be a whole number from %1 to %2.")
                                            .arg(QString::number(QuizGenerator::minQuestions),
                                                 QString::number(QuizGenerator::maxQuestions)));
    const QJsonValue topic = body.value("topic");
    const QJsonValue force = body.value("force_regenerate");
    if (!(topic.isString() || topic.isNull() || topic.isUndefined()))
        return ServerResponse::apiError(422, "topic must be text.");
    if (!(force.isBool() || force.isUndefined()))
        return ServerResponse::apiError(422, "force_regenerate must be true or false.");
    key.topic = topic.toString().simplified();

    QuizStore store(context_);
    const auto cached = store.cached(key);
    const Quota today = quota(userId, courseId);
    if (cached && !force.toBool()) {
        store.served(cached->quiz.value("quiz_id").toString());
        return ServerResponse::json(answerJson(cached->quiz, true, cached->attempts, today));
    }
    if (today.exhausted())
        return ServerResponse::apiError(429, exhausted(today));
    const int attempt = cached ? cached->attempts + 1 : 1;

    const Sources course = sources(userId, courseId);
    if (course.chars > inlineTextLimit) {
        // The generation spent and the job that makes the quiz (or refunds it) go in together.
        bool spent = false;
        QString jobId;
        const bool queued = context_.db.inTransaction([&] {
            spent = store.spend(userId, courseId, today.day, today.limit());
            if (!spent)
                return false;
            jobId = context_.jobs->add(
                userId, jobType,
                QJsonObject{{"course_id", courseId},
                            {"question_type", key.questionType},
                            {"difficulty", key.difficulty},
                            {"topic", key.topic},
                            {"num_questions", key.count},
                            {"attempt", attempt},
                            {"day", today.day},
                            {"used", today.used + 1},
                            {"unlimited_until_ms", today.unlimitedUntilMs
                                                       ? QJsonValue(double(*today.unlimitedUntilMs))
                                                       : QJsonValue()}});
            return !jobId.isEmpty();
        });
        if (!queued && !spent)
            return ServerResponse::apiError(429, exhausted(today));
        if (!queued)
            return ServerResponse::apiError(500, "The quiz could not be started.");
        context_.jobs->schedule(jobId);
        return ServerResponse::json(
            QJsonObject{{"status", "queued"},
                        {"job_id", jobId},
                        {"job_type", jobType},
                        {"message", "Writing questions from this course's documents."}});
    }

    const QuizGenerator::Result made = make(course, key, attempt);
    if (made.questions.isEmpty())
        return ServerResponse::apiError(422, made.problem);
    const QJsonObject quiz = quizJson(course, key, made);
    bool spent = false;
    const bool saved = context_.db.inTransaction([&] {
        spent = store.spend(userId, courseId, today.day, today.limit());
        return spent && store.store(key, quiz);
    });
    if (!saved && !spent)
        return ServerResponse::apiError(429, exhausted(today));
    if (!saved)
        return ServerResponse::apiError(500, "The quiz could not be saved.");
    Quota after = today;
    ++after.used;
    return ServerResponse::json(answerJson(quiz, false, attempt, after));
}

JobQueue::Outcome QuizRoutes::generateQueued(const JobQueue::Job& job) {
    const QJsonObject& input = job.input;
    const QuizStore::Key key{job.userId,
                             input.value("course_id").toString(),
                             input.value("question_type").toString(),
                             input.value("difficulty").toString(),
                             input.value("topic").toString(),
                             input.value("num_questions").toInt()};
    const QString day = input.value("day").toString();
    const auto refund = [this, key, day] { QuizStore(context_).refund(key.userId, key.courseId, day); };
    if (!LibraryStore(context_).course(key.courseId, key.userId))
        return JobQueue::Outcome::failure("The course was deleted.", refund);
    const Sources course = sources(key.userId, key.courseId);
    const int attempt = input.value("attempt").toInt();
    const QuizGenerator::Result made = make(course, key, attempt);
    if (made.questions.isEmpty())
        return JobQueue::Outcome::failure(made.problem, refund);
    const QJsonObject quiz = quizJson(course, key, made);
    // The quota as it stood when the quiz was asked for.
    Quota asked{day, input.value("used").toInt(), 0, std::nullopt};
    if (input.value("unlimited_until_ms").isDouble())
        asked.unlimitedUntilMs = qint64(input.value("unlimited_until_ms").toDouble());
    return JobQueue::Outcome::success(answerJson(quiz, false, attempt, asked),
                                      [this, key, quiz] { QuizStore(context_).store(key, quiz); });
}
