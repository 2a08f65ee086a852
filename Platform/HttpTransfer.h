#pragma once

#include "HttpMessage.h"
#include "Task.h"

#include <functional>

// Sends requests on the main thread's network access manager and follows redirects the way the
// platform's URL loading does: 303 (and 301/302 after a POST) turn into a body-less GET, 307 and
// 308 repeat the request. A redirect rule may rewrite each proposed URL before it is followed.
namespace HttpTransfer {

using RedirectRule = std::function<QUrl(const QUrl& proposed)>;
inline constexpr int maxRedirects = 16;

async::Task<HttpResponse> send(HttpRequest request, RedirectRule rule = {});

} // namespace HttpTransfer
