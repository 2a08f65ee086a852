#pragma once

#include "APIClient.h"
#include "InlineOrEnqueued.h"
#include "JobsAPI.h"

// Posts a generation request and returns its payload: at once when the backend answers with it,
// else by following the queued job (every 2 s, for up to 240 s), telling `observer` its statuses.
template <class T, class B>
async::Task<T> postGeneration(APIClient client, QString path, B body, JobsAPI::StatusObserver observer = {}) {
    InlineOrEnqueued<T> answer = co_await client.post<InlineOrEnqueued<T>>(path, body);
    co_return co_await JobsAPI(client).resolve<T>(std::move(answer), std::move(observer));
}
