#include "AuthenticationFailures.h"

namespace AuthenticationFailures {

namespace {

Handler& handler() {
    static Handler current;
    return current;
}

} // namespace

void setHandler(Handler handler_) {
    handler() = std::move(handler_);
}

void report() {
    if (handler())
        handler()();
}

} // namespace AuthenticationFailures
