#pragma once

#include "HttpMessage.h"

// A Frontend API request on its way through the pipeline, tagged with its place in the order in
// which requests were started (see ClerkNetworkingPipeline::nextSequence).
struct ClerkRequest {
    HttpRequest http;
    quint64 sequence = 0;
};
