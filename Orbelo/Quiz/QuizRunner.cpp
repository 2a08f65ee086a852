#include "Quiz/QuizRunner.h"

#include "Clock.h"
#include "JsonCoding.h"
#include "Quiz/QuizGrading.h"

#include <QUuid>

QuizRunner::QuizRunner(QObject* parent) : QObject(parent) {}

void QuizRunner::start(QList<QuizQuestion> questions, QuizQuestionType type, QuizDifficulty difficulty,
                       const QString& note) {
    questions_ = std::move(questions);
    note_ = note;
    type_ = type;
    difficulty_ = difficulty;
    index_ = 0;
    answers_.clear();
    started_ = async::Clock::current().now();
    Q_EMIT questionChanged();
    Q_EMIT answerChanged();
}

QString QuizRunner::header() const {
    return QStringLiteral("Question %1 of %2").arg(index_ + 1).arg(count());
}

QString QuizRunner::difficultyLabel() const {
    QString level = json::rawValue(difficulty_);
    level[0] = level[0].toUpper();
    return level + QStringLiteral(" difficulty");
}

QString QuizRunner::questionText() const {
    return index_ < count() ? questions_[index_].question : QString();
}

QStringList QuizRunner::options() const {
    if (isTrueFalse())
        return {QStringLiteral("True"), QStringLiteral("False")};
    if (isFillIn() || index_ >= count())
        return {};
    return questions_[index_].options;
}

void QuizRunner::setAnswer(const QString& answer) {
    if (answer == this->answer())
        return;
    answers_.insert(index_, answer);
    Q_EMIT answerChanged();
}

int QuizRunner::chosenOption() const {
    if (isFillIn())
        return -1;
    const std::optional<qint64> chosen = QuizGrading::choiceIndex(answer());
    return chosen && *chosen >= 0 && *chosen < options().size() ? int(*chosen) : -1;
}

void QuizRunner::choose(int position) {
    if (isFillIn() || position < 0 || position >= options().size())
        return;
    setAnswer(QString::number(position));
}

int QuizRunner::optionForKey(int key, const QString& text) const {
    if (isFillIn())
        return -1;
    if (text.size() == 1 && text[0] >= u'1' && text[0] <= u'4')
        return text[0].unicode() - u'1';
    if (key >= Qt::Key_A && key <= Qt::Key_D)
        return key - Qt::Key_A;
    if (isTrueFalse() && (key == Qt::Key_T || key == Qt::Key_F))
        return key == Qt::Key_T ? 0 : 1;
    return -1;
}

void QuizRunner::previous() {
    if (canGoBack())
        moveTo(index_ - 1);
}

void QuizRunner::next() {
    if (isLast())
        finish();
    else if (index_ < count() - 1)
        moveTo(index_ + 1);
}

void QuizRunner::finish() {
    const double elapsed = started_.msecsTo(async::Clock::current().now()) / 1000.0;
    Q_EMIT finished(answers_, elapsed, QUuid::createUuid().toString(QUuid::WithoutBraces));
}

void QuizRunner::moveTo(int index) {
    index_ = index;
    Q_EMIT questionChanged();
    Q_EMIT answerChanged();
}
