#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One piece of a card's content: either light Markdown text or a grid of cell texts.
struct CardBlock {
    enum class Kind { markdown, grid };

    Kind kind = Kind::markdown;
    QString text;            // markdown only
    QList<QStringList> rows; // grid only
    int columns = 0;         // grid only

    static CardBlock markdown(QString text) { return {Kind::markdown, std::move(text), {}, 0}; }
    static CardBlock grid(QList<QStringList> rows, int columns) {
        return {Kind::grid, {}, std::move(rows), columns};
    }

    bool operator==(const CardBlock&) const = default;
};
