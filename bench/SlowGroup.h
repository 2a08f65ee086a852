#pragma once

#include <map>
#include <string>
#include <vector>

// What the slow connections of one kind went through. Times are seconds since the slow
// connections started connecting.
struct SlowGroup {
    std::string name;
    int count = 0;
    int established = 0;           // connected (and, over TLS, shook hands)
    std::vector<double> refusedAt; // the connection or the TLS handshake failed
    std::vector<double> closedAt;  // the server ended an established connection
    std::map<int, int> answers;    // status codes the server sent before ending one, and how often
    long requestsWritten = 0;      // pipelined requests handed to the kernel
    long stalls = 0;               // bursts skipped because the previous one had not gone out
};
