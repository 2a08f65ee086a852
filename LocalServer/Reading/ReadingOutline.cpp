#include "Reading/ReadingOutline.h"

#include "Terms/StandaloneSentence.h"

namespace {

ReadingOutline::Passage passage(const KeyTermEngine::Analysis& analysis, const QString& heading,
                                const QList<int>& sentences) {
    ReadingOutline::Passage out{heading, {}, {}, {}};
    const QStringList quoted = StandaloneSentence::quote(analysis, sentences);
    out.opening = quoted.value(0);
    for (const QString& sentence : quoted) {
        if (!out.note.isEmpty() && out.note.size() + 1 + sentence.size() > ReadingOutline::maxNoteChars)
            break;
        out.note += (out.note.isEmpty() ? QString() : QStringLiteral(" ")) + sentence;
    }
    if (out.note.size() > ReadingOutline::maxNoteChars)
        out.note = out.note.left(ReadingOutline::maxNoteChars - 1).trimmed() + QChar(0x2026);
    for (const int index : sentences)
        for (const int term : analysis.sentences[index].terms)
            if (!out.terms.contains(term))
                out.terms.append(term);
    return out;
}

} // namespace

ReadingOutline ReadingOutline::of(const KeyTermEngine::Analysis& analysis) {
    ReadingOutline out;
    for (const KeyTermEngine::Section& section : analysis.sections) {
        if (!section.heading.isEmpty() && !out.headings.contains(section.heading))
            out.headings.append(section.heading);
        QList<int> piece;
        qsizetype length = 0;
        const auto close = [&] {
            if (piece.isEmpty())
                return;
            if (Passage made = passage(analysis, section.heading, piece); !made.note.isEmpty())
                out.passages.append(made);
            piece.clear();
            length = 0;
        };
        for (const int index : section.sentences) {
            const QString& text = analysis.sentences[index].text;
            if (text == section.heading)
                continue;
            if (!piece.isEmpty() && length + 1 + text.size() > maxNoteChars)
                close();
            piece.append(index);
            length += text.size() + 1;
        }
        close();
    }
    return out;
}
