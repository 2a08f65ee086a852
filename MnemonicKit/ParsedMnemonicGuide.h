#pragma once

#include "Card.h"

#include <QList>
#include <QString>
#include <optional>

struct ParsedMnemonicGuide {
    QList<Card> cards;
    std::optional<QString> summary;

    bool operator==(const ParsedMnemonicGuide&) const = default;
};
