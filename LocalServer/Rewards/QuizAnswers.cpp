#include "Rewards/QuizAnswers.h"

#include <QJsonObject>
#include <QRegularExpression>

namespace {

QString normalised(const QString& text) {
    return text.trimmed().toLower();
}

} // namespace

int QuizAnswers::correctCount(const QString& questionType, const QJsonArray& questions,
                              const QStringList& answers) {
    const bool fillIn = questionType == QLatin1String("fill_in_blank");
    int correct = 0;
    for (qsizetype i = 0; i < questions.size() && i < answers.size(); ++i) {
        if (isCorrect(fillIn, questions.at(i).toObject(), answers.at(i)))
            ++correct;
    }
    return correct;
}

bool QuizAnswers::isCorrect(bool fillIn, const QJsonObject& question, const QString& answer) {
    if (!fillIn) {
        static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
        bool ok = false;
        const qint64 chosen = answer.toLongLong(&ok);
        const QJsonValue right = question.value("correct_answer");
        return decimal.match(answer).hasMatch() && ok && right.isDouble() && chosen == right.toInteger();
    }
    const QString typed = normalised(answer);
    if (typed.isEmpty())
        return false;
    QJsonArray accepted = question.value("correct_answers").toArray();
    if (accepted.isEmpty() && !question.value("options").toArray().isEmpty())
        accepted.append(question.value("options").toArray().first());
    for (const QJsonValue& text : std::as_const(accepted)) {
        if (normalised(text.toString()) == typed)
            return true;
    }
    return false;
}
