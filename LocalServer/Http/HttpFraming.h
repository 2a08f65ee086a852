#pragma once

#include <QByteArray>
#include <cstddef>
#include <string_view>

// Checks a request's raw header block (request line to the blank line) for framing the parser
// would tolerate but a request smuggler relies on: bare LF line ends, obs-fold continuation
// lines, a repeated Content-Length, Content-Length together with Transfer-Encoding, and too many
// fields. Transfer-Encoding alone is not served. The block must end with its blank line.
namespace HttpFraming {
// 0 when the block may be parsed, else the status to refuse it with (400, 431 or 501).
int check(std::string_view block, int maxFields);
// Where the header block in `data` ends (just past its blank line), or 0 when it has not ended
// yet. `from` is where an earlier, unsuccessful search stopped, so that a dripped header is
// scanned once rather than once per byte.
std::size_t headerEnd(std::string_view data, std::size_t from);
} // namespace HttpFraming
