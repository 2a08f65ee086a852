#pragma once

#include "ParsedMnemonicGuide.h"

#include <QTest>

// Readable QCOMPARE failures for the parsed guide types.
inline QString describe(const CardBlock& block) {
    if (block.kind == CardBlock::Kind::markdown)
        return QStringLiteral("markdown(%1)").arg(block.text);
    QStringList rows;
    for (const QStringList& row : block.rows)
        rows.append(u'[' + row.join(u" | ") + u']');
    return QStringLiteral("grid(%1 columns: %2)").arg(block.columns).arg(rows.join(u", "));
}

inline QString describe(const Card& card) {
    QStringList blocks;
    for (const CardBlock& block : card.blocks)
        blocks.append(describe(block));
    return QStringLiteral("Card(%1, %2, {%3})").arg(card.title, rawValue(card.accent), blocks.join(u"; "));
}

inline char* toString(const CardBlock& block) {
    return QTest::toString(describe(block));
}
inline char* toString(const Card& card) {
    return QTest::toString(describe(card));
}
