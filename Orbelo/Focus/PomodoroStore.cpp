#include "Focus/PomodoroStore.h"

#include "PreferencesStore.h"

std::optional<PomodoroState> PomodoroStore::load() const {
    const std::optional<QByteArray> data = preferences_.data(stateKey);
    return data ? PomodoroState::fromJson(*data) : std::nullopt;
}

void PomodoroStore::save(const PomodoroState& state) {
    preferences_.setValue(stateKey, state.toJson());
}

void PomodoroStore::clear() {
    preferences_.remove(stateKey);
}

int PomodoroStore::completedOn(const QDate& today) const {
    if (preferences_.string(countDayKey) != dayKey(today))
        return 0;
    return int(preferences_.integer(completedTodayKey).value_or(0));
}

void PomodoroStore::clearCount() {
    preferences_.remove(completedTodayKey);
    preferences_.remove(countDayKey);
}

int PomodoroStore::addCompletion(const QDate& today) {
    const int count = completedOn(today) + 1;
    preferences_.setValue(completedTodayKey, count);
    preferences_.setValue(countDayKey, dayKey(today));
    return count;
}

QString PomodoroStore::dayKey(const QDate& day) {
    // An invalid date has no components; each counts as 0.
    if (!day.isValid())
        return QStringLiteral("0-0-0");
    return QStringLiteral("%1-%2-%3").arg(day.year()).arg(day.month()).arg(day.day());
}
