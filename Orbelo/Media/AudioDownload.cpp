#include "Media/AudioDownload.h"

#include "HttpTransfer.h"

#include <stdexcept>
#include <string>

async::Task<QByteArray> AudioDownload::fetch(QUrl url) {
    HttpRequest request;
    request.url = std::move(url);
    const HttpResponse response = co_await HttpTransfer::send(std::move(request));
    if (response.status < 200 || response.status > 299)
        throw std::runtime_error("audio answered HTTP " + std::to_string(response.status));
    co_return response.body;
}
