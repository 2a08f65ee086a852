#include "Text/LyricsText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString lyrics = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<LyricsText::Line> lines = LyricsText::parse(lyrics);
    // Blanks separate lines: never first, last or doubled.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LyricsText::Line::Kind::blank &&
            (i == 0 || i + 1 == lines.size() || lines[i - 1].kind == LyricsText::Line::Kind::blank))
            __builtin_trap();
    }
    return 0;
}
