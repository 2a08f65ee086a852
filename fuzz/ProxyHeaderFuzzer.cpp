#include "Http/ProxyHeader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ProxyHeader header = ProxyHeader::parse(input);
    // A parsed line ends in CRLF within the limit; the bytes after it are the connection's.
    if (header.outcome == ProxyHeader::Outcome::Parsed &&
        (header.length > ProxyHeader::maxBytes || header.length > size ||
         input.substr(header.length - 2, 2) != "\r\n"))
        __builtin_trap();
    if (header.outcome != ProxyHeader::Outcome::Parsed && (header.length != 0 || !header.source.empty()))
        __builtin_trap();
    // Whether a line is complete does not depend on what follows it.
    if (header.outcome == ProxyHeader::Outcome::Parsed &&
        ProxyHeader::parse(input.substr(0, header.length)).source != header.source)
        __builtin_trap();
    return 0;
}
