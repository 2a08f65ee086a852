#pragma once

#include "Task.h"
#include "WebAuthenticationError.h"

#include <QString>
#include <QUrl>

// Signs in on a web page: shows `url` to the user and completes with the URL the page sends the
// user back to, whose scheme is `callbackScheme`. Ending the awaiting task ends the wait.
// Fails with WebAuthenticationError.
class WebAuthenticationSession {
public:
    virtual ~WebAuthenticationSession() = default;

    virtual async::Task<QUrl> start(QUrl url, QString callbackScheme) = 0;
};
