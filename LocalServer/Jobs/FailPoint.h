#pragma once

// Named points where a test can make the server die abruptly, as a crash or a kill would, to
// check what a restart finds: the environment variable ORBELO_SERVER_FAIL_AT names the point.
// ORBELO_SERVER_HOLD_AT names one where the thread that reaches it stops for good while the rest
// of the process carries on, as work that hangs would, so that a test can kill the process there.
namespace FailPoint {
// Ends the process at once (exit status 70, no clean-up) when `name` is the chosen point; blocks
// the calling thread for ever when it is the point to hold at.
void reach(const char* name);
} // namespace FailPoint
