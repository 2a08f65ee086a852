#pragma once

#include "Task.h"

#include <QByteArray>
#include <QUrl>

// Audio fetched whole through the app's own network stack, so with the trusted certificates and
// redirects of every other request: narration segments and study songs.
namespace AudioDownload {

// The body of `url`; throws std::runtime_error("audio answered HTTP <status>") outside 2xx.
async::Task<QByteArray> fetch(QUrl url);

} // namespace AudioDownload
