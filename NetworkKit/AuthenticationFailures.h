#pragma once

#include <functional>

// Where every APIClient reports a request refused for its token (401), or one for which no token
// could be had. The app points it at its context's authenticationFailed() where it builds the
// context; nothing is reported while no handler is set.
namespace AuthenticationFailures {

using Handler = std::function<void()>;

void setHandler(Handler handler);
void report();

} // namespace AuthenticationFailures
