#pragma once

#include "CardBlock.h"
#include "MnemonicAccent.h"

#include <QList>
#include <QString>

struct Card {
    QString title;
    QList<CardBlock> blocks;
    MnemonicAccent accent = MnemonicAccent::neutral;

    bool operator==(const Card&) const = default;
};
