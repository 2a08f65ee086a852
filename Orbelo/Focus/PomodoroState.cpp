#include "Focus/PomodoroState.h"

#include "JsonCoding.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray PomodoroState::toJson() const {
    QJsonObject object{{QStringLiteral("phase"), json::rawValue(phase)},
                       {QStringLiteral("completedWorkIntervals"), completedWorkIntervals}};
    if (endsAt)
        object.insert(QStringLiteral("endsAt"), endsAt->toUTC().toString(Qt::ISODateWithMs));
    if (pausedRemaining)
        object.insert(QStringLiteral("pausedRemaining"), *pausedRemaining);
    if (studySessionId)
        object.insert(QStringLiteral("studySessionId"), *studySessionId);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<PomodoroState> PomodoroState::fromJson(const QByteArray& data) {
    const QJsonDocument document = QJsonDocument::fromJson(data);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    PomodoroState state;
    const auto phase =
        json::enumFromRawValue<PomodoroPhase>(object.value(QStringLiteral("phase")).toString());
    const QJsonValue count = object.value(QStringLiteral("completedWorkIntervals"));
    if (!phase || !count.isDouble() || count.toDouble() < 0 || count.toDouble() != count.toInt())
        return std::nullopt;
    state.phase = *phase;
    state.completedWorkIntervals = count.toInt();

    const QJsonValue endsAt = object.value(QStringLiteral("endsAt"));
    const QJsonValue remaining = object.value(QStringLiteral("pausedRemaining"));
    const QJsonValue sessionId = object.value(QStringLiteral("studySessionId"));
    if (endsAt.isString()) {
        const QDateTime date = QDateTime::fromString(endsAt.toString(), Qt::ISODateWithMs);
        if (!date.isValid())
            return std::nullopt;
        state.endsAt = date;
    }
    if (remaining.isDouble() && remaining.toDouble() >= 0)
        state.pausedRemaining = remaining.toDouble();
    if (sessionId.isString())
        state.studySessionId = sessionId.toString();
    // Exactly one of the two says where the interval stands.
    if (state.endsAt.has_value() == state.pausedRemaining.has_value())
        return std::nullopt;
    return state;
}
