#include "Terms/TextChunker.h"

#include <QRegularExpression>

namespace TextChunker {

QStringList sentences(const QString& text) {
    static const QRegularExpression boundary(R"((?<=[.!?])["')\]]*\s+(?=["'(\[]*[A-Z0-9])|\n+)");
    QStringList out;
    for (const QString& part : text.split(boundary, Qt::SkipEmptyParts)) {
        const QString sentence = part.simplified();
        if (!sentence.isEmpty())
            out.append(sentence);
    }
    return out;
}

QStringList chunks(const QString& text, int maxChars) {
    QStringList pieces;
    for (const QString& paragraph : text.split(QRegularExpression("\n\\s*\n"), Qt::SkipEmptyParts)) {
        if (paragraph.size() <= maxChars)
            pieces.append(paragraph.trimmed());
        else
            pieces.append(sentences(paragraph));
    }
    QStringList out;
    QString current;
    for (const QString& piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (!current.isEmpty() && current.size() + 2 + piece.size() > maxChars) {
            out.append(current);
            current.clear();
        }
        current += (current.isEmpty() ? QString() : QStringLiteral("\n\n")) + piece;
    }
    if (!current.isEmpty())
        out.append(current);
    return out;
}

} // namespace TextChunker
