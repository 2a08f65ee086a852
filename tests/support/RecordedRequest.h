#pragma once

#include "HttpMessage.h"

// A request as it arrived at the scripted server, byte for byte.
struct RecordedRequest {
    QByteArray method;
    QByteArray target; // path and query as sent
    QByteArray path;
    QByteArray query; // without the "?"; empty when there was none
    bool hasQuery = false;
    HttpHeaders headers;
    QByteArray body;

    std::optional<QByteArray> header(const QByteArray& name) const { return findHeader(headers, name); }
};
