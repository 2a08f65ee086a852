#pragma once

// Start-up milestones with the milliseconds since the first one (the start of main), logged when
// ORBELO_STARTUP_TRACE=1: where the time before the first frame and the first screen goes.
class StartupTrace {
public:
    static void mark(const char* milestone);
};
