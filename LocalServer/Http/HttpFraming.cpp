#include "Http/HttpFraming.h"

#include <algorithm>
#include <cctype>

namespace {

bool startsWithField(std::string_view line, std::string_view name) {
    if (line.size() <= name.size() || line[name.size()] != ':')
        return false;
    return std::equal(name.begin(), name.end(), line.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

namespace HttpFraming {

std::size_t headerEnd(std::string_view data, std::size_t from) {
    // Back up so that a terminator split across two reads is still found.
    const std::size_t start = from >= 3 ? from - 3 : 0;
    for (std::size_t i = start; i + 1 < data.size(); ++i) {
        if (data[i] != '\n')
            continue;
        // A bare LF blank line ends the block too, so that check() can refuse it rather than
        // the connection waiting for a CRLF that never comes.
        if (data[i + 1] == '\n')
            return i + 2;
        if (data[i + 1] == '\r' && i + 2 < data.size() && data[i + 2] == '\n')
            return i + 3;
    }
    return 0;
}

int check(std::string_view block, int maxFields) {
    int fields = 0;
    int contentLengths = 0;
    bool transferEncoding = false;
    std::size_t lineStart = 0;
    bool first = true;
    while (lineStart < block.size()) {
        const std::size_t lf = block.find('\n', lineStart);
        if (lf == std::string_view::npos || lf == lineStart || block[lf - 1] != '\r')
            return 400; // bare LF
        const std::string_view line = block.substr(lineStart, lf - 1 - lineStart);
        lineStart = lf + 1;
        if (line.empty())
            break; // the blank line
        if (first) {
            first = false;
            continue;
        }
        if (line.front() == ' ' || line.front() == '\t')
            return 400; // obs-fold
        if (++fields > maxFields)
            return 431;
        if (startsWithField(line, "content-length"))
            ++contentLengths;
        else if (startsWithField(line, "transfer-encoding"))
            transferEncoding = true;
    }
    if (contentLengths > 1 || (contentLengths > 0 && transferEncoding))
        return 400;
    // Every client of this server sends Content-Length; chunked bodies are not taken.
    return transferEncoding ? 501 : 0;
}

} // namespace HttpFraming
