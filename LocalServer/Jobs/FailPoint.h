#pragma once

// Named points where a test can make the server die abruptly, as a crash or a kill would, to
// check what a restart finds: the environment variable ORBELO_SERVER_FAIL_AT names the point.
namespace FailPoint {
// Ends the process at once (exit status 70, no clean-up) when `name` is the chosen point.
void reach(const char* name);
} // namespace FailPoint
