#pragma once

#include "URLError.h"

// A failed Frontend API answer whose body names no error: a transport error of kind unknown that
// keeps the HTTP status.
class UnexpectedStatusError : public URLError {
public:
    explicit UnexpectedStatusError(int status)
        : URLError(Code::unknown, QStringLiteral("The server answered with HTTP status %1.").arg(status)),
          status_(status) {}

    int status() const { return status_; }

private:
    int status_;
};
