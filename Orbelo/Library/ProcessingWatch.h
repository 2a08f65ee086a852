#pragma once

// moc needs a Qt header before <coroutine>.
#include <QString>

#include "Documents/DocumentItem.h"
#include "Task.h"

#include <chrono>
#include <functional>
#include <optional>

// Follows one uploaded document until the backend has processed it: a poll every 5 seconds on
// the injected clock, at most 36 of them (three minutes). From the 13th poll on the document
// counts as slow.
class ProcessingWatch {
public:
    static constexpr std::chrono::seconds interval{5};
    static constexpr int slowFromPoll = 13;
    static constexpr int maximumPolls = 36;

    // Reloads the list and hands back the document, or nothing when it is gone.
    using Poll = std::function<async::Task<std::optional<DocumentItem>>()>;

    // The document once it is ready or has failed; nothing when it is gone or still processing
    // after the last poll.
    static async::Task<std::optional<DocumentItem>> run(Poll poll, std::function<void()> markSlow);
};
