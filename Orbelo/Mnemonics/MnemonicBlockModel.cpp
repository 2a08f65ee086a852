#include "Mnemonics/MnemonicBlockModel.h"

MnemonicBlockModel::MnemonicBlockModel(const CardBlock& block, QObject* parent)
    : QObject(parent), block_(block) {
    if (!isGrid())
        markdown_.setMarkdown(block_.text);
}

QVariantList MnemonicBlockModel::rows() const {
    QVariantList rows;
    for (const QStringList& row : block_.rows)
        rows << QVariant(row);
    return rows;
}

int MnemonicBlockModel::columns() const {
    if (block_.columns > 0)
        return block_.columns;
    qsizetype widest = 1;
    for (const QStringList& row : block_.rows)
        widest = std::max(widest, row.size());
    return int(widest);
}
