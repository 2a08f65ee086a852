#pragma once

#include <QList>
#include <QString>

struct SongGenre;

// The song's form in time: an instrumental intro, the sections' lyric lines one after another, each
// taking `lineBeats` beats, and an instrumental ending, all in whole 4/4 bars near the target length.
struct SongArrangement {
    struct Section {
        QString name; // "Verse 1", "Chorus", "Verse 2", "Bridge"
        int lines = 0;
    };

    int tempoBpm = 0;
    int totalBeats = 0;
    int introBeats = 0;
    int lineBeats = 0;
    QList<Section> sections;

    int lineCount() const;
    // When lyric line `index` (counted over all sections) starts, in beats.
    int lineStartBeat(int index) const;
    double beatSeconds() const { return 60.0 / tempoBpm; }
    qint64 durationMs() const;

    // Two verses and a chorus sung after each, a bridge and a last chorus when there is time.
    static SongArrangement plan(const SongGenre& genre, int targetSeconds);
};
