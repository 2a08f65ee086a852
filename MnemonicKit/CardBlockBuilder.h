#pragma once

#include "CardBlock.h"

#include <QList>
#include <QStringView>
#include <optional>

// Splits the content of a card into blocks, in document order: grid and flex containers and tables
// become grid blocks, the content between them becomes Markdown blocks. Empty blocks are dropped.
class CardBlockBuilder {
public:
    static QList<CardBlock> blocks(QStringView content);
    // The grid block of a grid or flex container, given its opening tag and inner HTML.
    static std::optional<CardBlock> containerGrid(QStringView openingTag, QStringView inner);
    // The grid block of a table: its rows, with the plain text of their td and th cells.
    static std::optional<CardBlock> tableGrid(QStringView table);
};
