#include "Focus/AppFocusTimer.h"

#include <QJSEngine>

AppFocusTimer& AppFocusTimer::shared() {
    static AppFocusTimer* instance = new AppFocusTimer; // lives as long as the process
    return *instance;
}

AppFocusTimer* AppFocusTimer::create(QQmlEngine*, QJSEngine*) {
    AppFocusTimer* instance = &shared();
    QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}

void AppFocusTimer::setTimer(PomodoroTimer* timer) {
    if (timer == timer_)
        return;
    timer_ = timer;
    Q_EMIT timerChanged();
}
