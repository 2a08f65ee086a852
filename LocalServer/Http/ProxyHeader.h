#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The line a balancer in TCP mode sends ahead of a connection's own bytes to name the client it
// forwards: "PROXY TCP4 <source> <destination> <source port> <destination port>\r\n" (TCP6 for
// IPv6), or "PROXY UNKNOWN ...\r\n" when it cannot tell. At most 107 bytes with the CRLF.
struct ProxyHeader {
    static constexpr std::size_t maxBytes = 107;

    enum class Outcome {
        // No CRLF yet, and more bytes may still make a line.
        Incomplete,
        Malformed,
        Parsed,
    };

    Outcome outcome = Outcome::Incomplete;
    // The line's length with its CRLF; what follows belongs to the connection.
    std::size_t length = 0;
    // The client's address, as the server writes addresses; empty for UNKNOWN.
    std::string source;

    // Reads the line at the start of `received`, the connection's first bytes so far.
    static ProxyHeader parse(std::string_view received);
};
