#include "Mnemonics/MnemonicCardModel.h"

#include "Mnemonics/MnemonicBlockModel.h"

namespace {

// A section without a heading still needs a name on a card that opens and closes: guides mark
// their tips in yellow.
QString cardTitle(const Card& card) {
    if (!card.title.isEmpty())
        return card.title;
    return card.accent == MnemonicAccent::yellow ? QStringLiteral("Tip") : QStringLiteral("Note");
}

} // namespace

MnemonicCardModel::MnemonicCardModel(const Card& card, QObject* parent)
    : QObject(parent), title_(cardTitle(card)), accent_(rawValue(card.accent)) {
    for (const CardBlock& block : card.blocks)
        blocks_ << new MnemonicBlockModel(block, this);
}
