#include "Shell/StartupTrace.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcStartup, "com.orbelo.desktop.Startup")

void StartupTrace::mark(const char* milestone) {
    static const bool enabled = qEnvironmentVariableIntValue("ORBELO_STARTUP_TRACE") == 1;
    if (!enabled)
        return;
    static const QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    qCInfo(lcStartup, "%s: %.1f ms", milestone, clock.nsecsElapsed() / 1e6);
}
