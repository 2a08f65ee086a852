#pragma once

#include <QByteArray>

// HTTP status codes as a status line writes them.
class HttpStatus {
public:
    // "Not Found" for 404; "Status" for a code without a phrase here.
    static QByteArray reasonPhrase(int status);
};
