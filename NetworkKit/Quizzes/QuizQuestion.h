#pragma once

#include "JsonPath.h"

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One generated quiz question. The correct answer is a position in `options` (counted from 0) when
// the backend gives one, and answer texts otherwise.
struct QuizQuestion {
    QUuid id; // new on every decode; not on the wire
    QString question;
    QList<QString> options;
    std::optional<int> correctAnswerIndex;
    QList<QString> correctAnswerStrings;
    std::optional<QString> explanation;

    // `correct_answer` is read before the entries of `correct_answers`; the first position found
    // wins, and every non-numeric text is kept once.
    static QuizQuestion decodeJson(const QJsonValue& value, const json::Path& path);
};
