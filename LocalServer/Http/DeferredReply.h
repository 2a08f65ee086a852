#pragma once

#include "Http/ServerResponse.h"

#include <functional>

// Lets a route answer later, from another thread, so that the request's thread is free at once.
// While a handler runs, the server holds the request's reply here; a handler that takes it answers
// through it, exactly once, and what the handler returns is not sent.
class DeferredReply {
public:
    using Reply = std::function<void(ServerResponse)>;

    // Held by the server around one handler's run, on that handler's thread.
    class Scope {
    public:
        explicit Scope(Reply reply);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        bool taken() const { return taken_; }

    private:
        friend class DeferredReply;
        Reply reply_;
        bool taken_ = false;
        Scope* outer_;
    };

    // Inside a handler: its request's reply. Empty outside one.
    static Reply take();
};
