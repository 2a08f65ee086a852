#pragma once

#include <QString>

// Starts Orbelo with a deep link: `orbelo --deep-link <link>`. When Orbelo is already running,
// that process hands the link over to it and ends. The app is found through ORBELO_APP (tests,
// builds run in place), else next to the agent, else on PATH.
class AppLauncher {
public:
    static QString findApp();
    // False (and logged) when there is no app to start or it cannot be started.
    static bool open(const QString& deepLink);
};
