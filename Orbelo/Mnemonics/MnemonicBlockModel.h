#pragma once

#include "CardBlock.h"
#include "Text/MarkdownText.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// One block of a mnemonic card for the screens: Markdown text as blocks to lay out, or a grid of
// cell texts with its column count.
class MnemonicBlockModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Blocks come from MnemonicContent.")
    Q_PROPERTY(bool isGrid READ isGrid CONSTANT)
    Q_PROPERTY(QAbstractItemModel* markdown READ markdown CONSTANT)
    Q_PROPERTY(QVariantList rows READ rows CONSTANT)
    Q_PROPERTY(int columns READ columns CONSTANT)
public:
    MnemonicBlockModel(const CardBlock& block, QObject* parent = nullptr);

    bool isGrid() const { return block_.kind == CardBlock::Kind::grid; }
    QAbstractItemModel* markdown() { return &markdown_; }
    // Each row as a list of cell texts.
    QVariantList rows() const;
    // At least one, and at least as many as the widest row needs when the guide gave none.
    int columns() const;

private:
    CardBlock block_;
    MarkdownText markdown_;
};
