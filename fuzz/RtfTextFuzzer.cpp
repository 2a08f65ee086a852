#include "Documents/RtfText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr qsizetype maxChars = 4096;
    const RtfText rtf =
        RtfText::extract(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), maxChars);
    if (rtf.text.size() > maxChars || (rtf.truncated && rtf.text.size() != maxChars))
        __builtin_trap();
    return 0;
}
