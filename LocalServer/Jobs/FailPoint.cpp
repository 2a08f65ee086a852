#include "Jobs/FailPoint.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace FailPoint {

void reach(const char* name) {
    static const char* const chosen = std::getenv("ORBELO_SERVER_FAIL_AT");
    if (chosen && std::strcmp(chosen, name) == 0)
        std::_Exit(70);
    static const char* const held = std::getenv("ORBELO_SERVER_HOLD_AT");
    while (held && std::strcmp(held, name) == 0)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

} // namespace FailPoint
