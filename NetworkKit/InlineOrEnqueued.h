#pragma once

#include "EnqueuedJob.h"
#include "Json.h"

#include <variant>

// A generation answer: the finished payload, or a job to follow. A body that reads as a job whose
// status is exactly "queued" is the job, whatever else it holds; anything else must be a T.
template <class T> class InlineOrEnqueued {
public:
    static InlineOrEnqueued inlined(T payload) { return InlineOrEnqueued(std::move(payload)); }
    static InlineOrEnqueued enqueued(EnqueuedJob job) { return InlineOrEnqueued(std::move(job)); }

    const T* payload() const { return std::get_if<T>(&value_); }
    const EnqueuedJob* job() const { return std::get_if<EnqueuedJob>(&value_); }

    static InlineOrEnqueued decodeJson(const QJsonValue& value, const json::Path& path) {
        try {
            EnqueuedJob job = json::decodeValue<EnqueuedJob>(value, path);
            if (job.status == QLatin1String("queued"))
                return enqueued(std::move(job));
        } catch (const json::DecodingError&) {
        }
        return inlined(json::decodeValue<T>(value, path));
    }

private:
    explicit InlineOrEnqueued(std::variant<T, EnqueuedJob> value) : value_(std::move(value)) {}
    std::variant<T, EnqueuedJob> value_;
};
