#include "Http/DeferredReply.h"

namespace {
thread_local DeferredReply::Scope* current = nullptr;
} // namespace

DeferredReply::Scope::Scope(Reply reply) : reply_(std::move(reply)), outer_(current) {
    current = this;
}

DeferredReply::Scope::~Scope() {
    current = outer_;
}

DeferredReply::Reply DeferredReply::take() {
    if (!current)
        return {};
    current->taken_ = true;
    return current->reply_;
}
