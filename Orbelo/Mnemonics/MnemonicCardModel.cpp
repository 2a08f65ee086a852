#include "MnemonicCardModel.h"

#include "MnemonicBlockModel.h"

MnemonicCardModel::MnemonicCardModel(const Card& card, QObject* parent)
    : QObject(parent), title_(card.title), accent_(rawValue(card.accent)) {
    for (const CardBlock& block : card.blocks)
        blocks_ << new MnemonicBlockModel(block, this);
}
