#pragma once

#include "Quizzes/QuizDifficulty.h"
#include "Quizzes/QuizQuestion.h"
#include "Quizzes/QuizQuestionType.h"

#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// Taking a quiz, one question at a time. Answers are kept by question position: the position of
// the option chosen (as decimal text) or the text typed. Finishing hands on the answers, the time
// since the first question showed and a new attempt id.
class QuizRunner : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by QuizModel")
    Q_PROPERTY(int index READ index NOTIFY questionChanged)
    Q_PROPERTY(int count READ count NOTIFY questionChanged)
    Q_PROPERTY(QString header READ header NOTIFY questionChanged)
    Q_PROPERTY(QString difficultyLabel READ difficultyLabel NOTIFY questionChanged)
    Q_PROPERTY(QString note READ note NOTIFY questionChanged)
    Q_PROPERTY(QString questionText READ questionText NOTIFY questionChanged)
    Q_PROPERTY(bool isFillIn READ isFillIn NOTIFY questionChanged)
    Q_PROPERTY(bool isTrueFalse READ isTrueFalse NOTIFY questionChanged)
    Q_PROPERTY(QStringList options READ options NOTIFY questionChanged)
    Q_PROPERTY(QString answer READ answer WRITE setAnswer NOTIFY answerChanged)
    Q_PROPERTY(int chosenOption READ chosenOption NOTIFY answerChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY questionChanged)
    Q_PROPERTY(bool isLast READ isLast NOTIFY questionChanged)
public:
    explicit QuizRunner(QObject* parent = nullptr);

    // From the first question, with no answers; the clock starts now. `note` says why the quiz has
    // fewer questions than asked, when it has.
    void start(QList<QuizQuestion> questions, QuizQuestionType type, QuizDifficulty difficulty,
               const QString& note = {});

    int index() const { return index_; }
    int count() const { return int(questions_.size()); }
    QString header() const;
    QString difficultyLabel() const;
    // Shown above the first question only.
    QString note() const { return index_ == 0 ? note_ : QString(); }
    QString questionText() const;
    bool isFillIn() const { return type_ == QuizQuestionType::fillInBlank; }
    bool isTrueFalse() const { return type_ == QuizQuestionType::trueFalse; }
    QStringList options() const;
    QString answer() const { return answers_.value(index_); }
    void setAnswer(const QString& answer);
    // The position of the option chosen for this question, or -1.
    int chosenOption() const;
    bool canGoBack() const { return index_ > 0; }
    bool isLast() const { return index_ == count() - 1; }
    const QMap<int, QString>& answers() const { return answers_; }

    // Option `position` of a choice question, as shown.
    Q_INVOKABLE void choose(int position);
    // The option position a key press picks: 1–4 or A–D, and T or F on a true-or-false question;
    // -1 for any other key and on a fill-in question.
    Q_INVOKABLE int optionForKey(int key, const QString& text) const;
    Q_INVOKABLE void previous();
    // The next question, or finishing on the last one.
    Q_INVOKABLE void next();
    Q_INVOKABLE void finish();

Q_SIGNALS:
    void questionChanged();
    void answerChanged();
    void finished(const QMap<int, QString>& answers, double elapsedSeconds, const QString& attemptId);

private:
    void moveTo(int index);

    QList<QuizQuestion> questions_;
    QuizQuestionType type_ = QuizQuestionType::multipleChoice;
    QuizDifficulty difficulty_ = QuizDifficulty::medium;
    int index_ = 0;
    QMap<int, QString> answers_;
    QDateTime started_;
    QString note_;
};
