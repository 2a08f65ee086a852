#include "Text/InlineMarkdown.h"
#include "Text/MarkdownBlock.h"
#include "Text/NotesSection.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Inline rendering goes through QTextDocument, which needs a GUI application for its fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString markdown = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const MarkdownBlock& block : MarkdownBlock::parse(markdown)) {
        if (block.level < 0 || block.level > MarkdownBlock::maximumHeadingLevel)
            __builtin_trap();
        InlineMarkdown::styledText(block.text);
    }
    NotesSection::plainText(markdown);
    return 0;
}
