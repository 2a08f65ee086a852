#include "Library/ProcessingWatch.h"

#include "Clock.h"

async::Task<std::optional<DocumentItem>> ProcessingWatch::run(Poll poll, std::function<void()> markSlow) {
    for (int polls = 1;; ++polls) {
        co_await async::Clock::current().sleep(interval);
        std::optional<DocumentItem> document = co_await poll();
        if (!document || document->processingState() != DocumentItem::ProcessingState::processing)
            co_return document;
        if (polls >= slowFromPoll)
            markSlow();
        if (polls == maximumPolls)
            co_return std::nullopt;
    }
}
