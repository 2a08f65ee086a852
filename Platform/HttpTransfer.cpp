#include "HttpTransfer.h"

#include "ReplyAwaiter.h"
#include "URLError.h"

#include <QIODevice>

namespace HttpTransfer {

namespace {
bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

void followAs(HttpRequest& request, int status, const QUrl& target) {
    const bool becomesGet = status == 303 ? request.method != "HEAD"
                                          : (status == 301 || status == 302) && request.method == "POST";
    if (becomesGet) {
        request.method = "GET";
        request.body.reset();
        request.bodyDevice.reset();
        request.headers.removeIf(
            [](const auto& h) { return h.first.compare("Content-Length", Qt::CaseInsensitive) == 0; });
    } else if (request.bodyDevice)
        request.bodyDevice->reset(); // the repeated request sends the body again from its start
    request.url = target;
}
} // namespace

async::Task<HttpResponse> send(HttpRequest request, RedirectRule rule) {
    for (int redirects = 0;; ++redirects) {
        HttpResponse response = co_await ReplyAwaiter(request);
        const auto location = response.header("Location");
        if (!isRedirect(response.status) || !location)
            co_return response;
        if (redirects == maxRedirects)
            throw URLError(URLError::Code::httpTooManyRedirects);
        QUrl proposed = request.url.resolved(QUrl::fromEncoded(*location));
        followAs(request, response.status, rule ? rule(proposed) : proposed);
    }
}

} // namespace HttpTransfer
