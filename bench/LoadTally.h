#pragma once

#include <chrono>
#include <functional>
#include <vector>

// What a group of load connections measured together. The window opens once every connection is
// ready (or when the caller gives up waiting) and lasts a fixed time; requests sent before it
// opens warm up and are not counted.
struct LoadTally {
    using Clock = std::chrono::steady_clock;

    int connections = 0;
    int ready = 0;
    Clock::time_point windowStart = Clock::time_point::max();
    Clock::time_point windowEnd = Clock::time_point::max();
    std::function<void()> onAllReady;

    std::vector<double> latenciesMs; // of requests sent while the window is open
    long completed = 0;              // answers received while the window is open
    long errors = 0;                 // failed connections, requests and non-200 answers, any time

    void connectionReady() {
        if (++ready == connections && onAllReady)
            onAllReady();
    }
    void openWindow(Clock::duration length) {
        windowStart = Clock::now();
        windowEnd = windowStart + length;
    }
    bool closed(Clock::time_point now) const { return now >= windowEnd; }
    void record(Clock::time_point sent, Clock::time_point answered) {
        if (sent < windowStart || sent >= windowEnd)
            return;
        latenciesMs.push_back(std::chrono::duration<double, std::milli>(answered - sent).count());
        if (answered < windowEnd)
            ++completed;
    }
    // The p-th percentile (0 to 100) of the latencies, nearest rank; 0 without any.
    double percentileMs(double p);
};
