#pragma once

#include <QString>

// One side of a card made plain: HTML tags of rich-text exports stripped (<br> becomes a line
// break), entities decoded, control and invisible formatting characters removed, runs of spaces
// collapsed and the ends trimmed. Says which of these it had to do, for the notes of a preview.
class CardText {
public:
    QString text;
    bool hadTags = false;
    bool hadEntities = false;
    bool hadControls = false;

    static CardText clean(const QString& raw);
};
