#include "Http/ByteRange.h"
#include "Http/HttpFraming.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// A request head as it arrives off the wire, in pieces: the header block's end must not depend
// on how the bytes were split, and neither the framing check nor a Range header parsed against
// any file size may step outside what they were given.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t whole = HttpFraming::headerEnd(input, 0);
    if (whole > size)
        __builtin_trap();
    // Fed in slices of seven bytes, resuming each search where the last one stopped.
    std::size_t found = 0;
    for (std::size_t received = 0; received < size && !found;) {
        const std::size_t scanned = received;
        received = received + 7 < size ? received + 7 : size;
        found = HttpFraming::headerEnd(input.substr(0, received), scanned);
    }
    if (found != whole)
        __builtin_trap();
    if (whole > 0)
        HttpFraming::check(input.substr(0, whole), 100);

    const QByteArray header(input.data(), qsizetype(size < 256 ? size : 256));
    for (const qint64 fileSize : {qint64(0), qint64(1), qint64(size), qint64(1) << 40}) {
        const ByteRange range = ByteRange::parse(header, fileSize);
        if (range.kind == ByteRange::Kind::Partial &&
            (range.first < 0 || range.first > range.last || range.last >= fileSize))
            __builtin_trap();
    }
    return 0;
}
