#pragma once

#include "APIClient.h"
#include "Clock.h"
#include "GenerationJobStatusResponse.h"
#include "InlineOrEnqueued.h"

#include <chrono>
#include <functional>

// Follows queued generation jobs until they finish.
class JobsAPI {
public:
    static constexpr std::chrono::milliseconds pollInterval{2'000};
    static constexpr std::chrono::milliseconds timeout{240'000};
    // Told every status a followed job reports, for screens that show how far it got.
    using StatusObserver = std::function<void(GenerationJobStatus)>;

    explicit JobsAPI(APIClient client) : client_(std::move(client)) {}

    template <class T> async::Task<GenerationJobStatusResponse<T>> fetchStatus(const QString& jobId) const {
        return client_.get<GenerationJobStatusResponse<T>>(statusPath(jobId));
    }

    // Fetches first and waits afterwards, until a final status or the deadline. A failed fetch
    // before the deadline is dropped and tried again.
    template <class T>
    async::Task<T> waitForResult(QString jobId, std::chrono::milliseconds interval = pollInterval,
                                 std::chrono::milliseconds limit = timeout,
                                 StatusObserver observer = {}) const {
        return poll<T>(client_, std::move(jobId), interval, limit, std::move(observer));
    }

    // The payload of a generation answer, following the job when it was queued.
    template <class T>
    async::Task<T> resolve(InlineOrEnqueued<T> answer, StatusObserver observer = {}) const {
        return resolveAnswer<T>(client_, std::move(answer), std::move(observer));
    }

    static QString statusPath(const QString& jobId);
    static APIError deadlineError(const QString& jobId, std::chrono::milliseconds limit,
                                  GenerationJobStatus last);

private:
    template <class T>
    static async::Task<T> poll(APIClient client, QString jobId, std::chrono::milliseconds interval,
                               std::chrono::milliseconds limit, StatusObserver observer) {
        async::Clock& clock = async::Clock::current();
        const QDateTime deadline = clock.now().addMSecs(limit.count());
        const JobsAPI jobs(client);
        while (true) {
            std::optional<GenerationJobStatusResponse<T>> status;
            try {
                status = co_await jobs.fetchStatus<T>(jobId);
            } catch (...) {
                if (clock.now() >= deadline)
                    throw;
            }
            if (status) {
                if (observer)
                    observer(status->status);
                switch (status->status) {
                case GenerationJobStatus::queued:
                case GenerationJobStatus::processing:
                    if (clock.now() >= deadline)
                        throw deadlineError(jobId, limit, status->status);
                    break;
                case GenerationJobStatus::complete:
                    if (!status->result)
                        throw APIError::server(
                            500, QStringLiteral("Generation job %1 completed without a result").arg(jobId));
                    co_return std::move(*status->result);
                case GenerationJobStatus::failed:
                    throw APIError::server(500,
                                           status->error.value_or(QStringLiteral("Generation job failed")));
                }
            }
            co_await clock.sleep(interval);
        }
    }

    template <class T>
    static async::Task<T> resolveAnswer(APIClient client, InlineOrEnqueued<T> answer,
                                        StatusObserver observer) {
        if (const T* payload = answer.payload())
            co_return *payload;
        co_return co_await JobsAPI(client).waitForResult<T>(answer.job()->jobId, pollInterval, timeout,
                                                            std::move(observer));
    }

    APIClient client_;
};
