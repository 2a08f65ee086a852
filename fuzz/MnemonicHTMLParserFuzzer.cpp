#include "MnemonicHTMLParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(html);
    for (const Card& card : guide.cards)
        for (const CardBlock& block : card.blocks)
            if (block.kind == CardBlock::Kind::grid && (block.columns < 1 || block.rows.isEmpty()))
                __builtin_trap();
    MnemonicHTMLParser::markdown(html);
    return 0;
}
