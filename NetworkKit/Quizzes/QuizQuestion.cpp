#include "QuizQuestion.h"

#include "AnyCodableValue.h"
#include "JsonRecord.h"

#include <QRegularExpression>

namespace {

std::optional<int> decimalInteger(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void addCorrectAnswer(QuizQuestion& question, const AnyCodableValue& answer) {
    std::optional<int> index;
    if (const int* position = answer.integer())
        index = *position;
    else
        index = decimalInteger(*answer.string());
    if (index) {
        if (!question.correctAnswerIndex)
            question.correctAnswerIndex = index;
    } else if (!question.correctAnswerStrings.contains(*answer.string())) {
        question.correctAnswerStrings.append(*answer.string());
    }
}

} // namespace

QuizQuestion QuizQuestion::decodeJson(const QJsonValue& value, const json::Path& path) {
    const json::ObjectReader reader(value, path);
    QuizQuestion question;
    question.id = QUuid::createUuid();
    question.question =
        reader.lenient<QString>("prompt").value_or(reader.lenient<QString>("question").value_or(QString()));
    question.options = reader.lenient<QList<QString>>("options").value_or(QList<QString>());
    if (const auto answer = reader.optional<AnyCodableValue>("correctAnswer"))
        addCorrectAnswer(question, *answer);
    for (const AnyCodableValue& answer :
         reader.optional<QList<AnyCodableValue>>("correctAnswers").value_or(QList<AnyCodableValue>()))
        addCorrectAnswer(question, answer);
    question.explanation = reader.lenient<QString>("explanation");
    return question;
}
