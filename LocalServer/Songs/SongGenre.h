#pragma once

#include <QList>
#include <QString>

// How one genre sounds: its tempo, key, scale and chord progression, whether the vocal is sung or
// spoken on the beat, and the backing's patterns and timbres. Pitches are semitones above the
// vocal's base pitch (VocalRenderer::basePitchHz), so voice and backing share one tuning.
struct SongGenre {
    enum class Tone { sine, square, saw, pluck, organ };

    QString id;
    QString label;
    int tempoBpm = 0;
    bool sung = true;
    int lineBeats = 4;     // beats a lyric line takes when the song is long enough
    int tonic = 0;         // the key's root, in semitones above the vocal base pitch
    QList<int> scale;      // the melody's scale, semitones above the tonic
    QList<int> chordRoots; // one chord per bar, as semitones above the tonic, cycled
    QList<bool> minorChords;
    // Sixteen steps a bar, "x" a hit, "o" a soft one: drums, bass notes and chord strikes.
    QString kick, snare, hat, bass, chords;
    Tone bassTone = Tone::sine;
    Tone chordTone = Tone::sine;
    double swing = 0;     // how late the off-beat sixteenths come, as a share of a sixteenth
    bool crackle = false; // a vinyl crackle under the whole track

    static const QList<SongGenre>& all();
    // Nothing for an unknown id.
    static const SongGenre* find(const QString& id);
};
