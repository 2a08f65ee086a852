#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct SongArrangement;
struct SongGenre;

// The vocal's notes: one per word, on a sixteenth-note grid from the start of its line, the word's
// syllables setting its length. Sung genres walk the scale in a contour per section and end each
// line on the bar's chord root; spoken ones stay near the tonic, a little higher every other line.
struct SongMelody {
    struct Note {
        QString word;
        double startBeat = 0;
        double beats = 0;
        int semitone = 0; // above the vocal base pitch
    };

    QList<Note> notes;

    static SongMelody compose(const SongGenre& genre, const SongArrangement& arrangement,
                              const QStringList& sungLines);
};
