#pragma once

#include "Songs/SongArrangement.h"
#include "Terms/KeyTerm.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SongGenre;

// Study-song lyrics: a heading and the genre and tempo, then the arrangement's sections, each verse
// line a key term with the gist of its meaning, the chorus built on the key ideas, and a closing
// "Hook takeaway:" line. The same input gives the same lyrics.
class SongLyricsWriter {
public:
    struct Lyrics {
        QString text;             // as the lyrics view reads it
        QStringList sungLines;    // every line the vocal sings, in order, chorus repeats included
        QList<KeyTerm> hookTerms; // what the chorus and the takeaway are about
    };

    // The terms a song is written from: the key ideas first (with the meaning the text gives them),
    // then the text's other key terms. Each entry of `keyIdeas` may hold several ideas, one a line
    // or separated by commas or semicolons; `ideaCount` is how many different ones there were.
    // Empty when neither has any.
    static QList<KeyTerm> termsFor(const QString& text, const QStringList& keyIdeas,
                                   int* ideaCount = nullptr);
    // `terms` must not be empty; `keyIdeaCount` is how many of them lead because they were asked for.
    static Lyrics write(const QString& title, const QList<KeyTerm>& terms, int keyIdeaCount,
                        const SongGenre& genre, const SongArrangement& arrangement);
    // The gist of a definition in at most `syllables` syllables, without the term itself and ending
    // on a word that carries meaning: "the movement of water across a membrane" → "movement of water".
    static QString gist(const KeyTerm& term, int syllables);
};
