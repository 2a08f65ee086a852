#include "Songs/SongGenre.h"

const QList<SongGenre>& SongGenre::all() {
    using Tone = SongGenre::Tone;
    // The vocal base pitch is about F2, so a tonic of 4 is A, 2 is G, -1 is E and -3 is D. The
    // melody stays within about ten semitones of it, where espeak-ng's voice still sounds natural.
    static const QList<SongGenre> genres{
        // A minor, i–VI–III–VII; the words spoken over a boom-bap beat.
        {"hip-hop",
         "Hip-Hop",
         92,
         false,
         4,
         4,
         {0, 3, 5, 7, 10},
         {0, 8, 3, 10},
         {true, false, false, false},
         "x.....x...x.....",
         "....x.......x...",
         "x.x.x.x.x.x.x.xo",
         "x.....x...x.....",
         "x...............",
         Tone::sine,
         Tone::organ,
         0.2,
         false},
        // E major, I–V–vi–IV, driving eighths with distorted power chords.
        {"rock",
         "Rock",
         124,
         true,
         4,
         -1,
         {0, 2, 4, 7, 9},
         {0, 7, 9, 5},
         {false, false, true, false},
         "x.....x.x.......",
         "....x.......x...",
         "x.x.x.x.x.x.x.x.",
         "x.x.x.x.x.x.x.x.",
         "x.x.x.x.x.x.x.x.",
         Tone::saw,
         Tone::square,
         0,
         false},
        // D minor seventh chords, ii–V–I–vi, a lazy swung beat with vinyl crackle.
        {"lo-fi",
         "Lo-fi",
         76,
         true,
         4,
         -3,
         {0, 2, 3, 5, 7, 10},
         {0, 5, 10, 7},
         {true, false, false, true},
         "x.......x.x.....",
         "........x.......",
         "x.o.x.o.x.o.x.o.",
         "x.........x.....",
         "x.......o.......",
         Tone::sine,
         Tone::sine,
         0.35,
         true},
        // G major, I–V–vi–IV, a strummed guitar and a soft shaker.
        {"acoustic",
         "Acoustic",
         100,
         true,
         4,
         2,
         {0, 2, 4, 7, 9},
         {0, 7, 9, 5},
         {false, false, true, false},
         "x.......x.......",
         "................",
         "o.oxo.oxo.oxo.ox",
         "x.......x.......",
         "x.x...x.x.x...x.",
         Tone::sine,
         Tone::pluck,
         0.1,
         false},
        // D major, I–IV–V–I, boom-chick: bass on the beats, chords between.
        {"country",
         "Country",
         112,
         true,
         4,
         -3,
         {0, 2, 4, 7, 9},
         {0, 5, 7, 0},
         {false, false, false, false},
         "x.......x.......",
         "....x.......x...",
         "x.xxx.xxx.xxx.xx",
         "x.......x.......",
         "....x.......x...",
         Tone::saw,
         Tone::pluck,
         0,
         false},
    };
    return genres;
}

const SongGenre* SongGenre::find(const QString& id) {
    for (const SongGenre& genre : all())
        if (genre.id == id)
            return &genre;
    return nullptr;
}
