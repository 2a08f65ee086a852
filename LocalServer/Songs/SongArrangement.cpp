#include "Songs/SongArrangement.h"

#include "Songs/SongGenre.h"

#include <algorithm>
#include <cmath>

int SongArrangement::lineCount() const {
    int count = 0;
    for (const Section& section : sections)
        count += section.lines;
    return count;
}

int SongArrangement::lineStartBeat(int index) const {
    return introBeats + index * lineBeats;
}

qint64 SongArrangement::durationMs() const {
    return qint64(std::llround(totalBeats * beatSeconds() * 1000));
}

SongArrangement SongArrangement::plan(const SongGenre& genre, int targetSeconds) {
    constexpr int minLines = 4; // a line for each verse and each chorus
    SongArrangement song;
    song.tempoBpm = genre.tempoBpm;
    const int bars = std::max(4, int(std::lround(targetSeconds * genre.tempoBpm / 240.0)));
    song.totalBeats = bars * 4;
    // Two bars before the voice comes in and at least one after it for the fade, less in a short song.
    song.introBeats = bars >= 16 ? 8 : 4;
    const int outroBeats = bars >= 16 ? 4 : 2;
    const int vocalBeats = song.totalBeats - song.introBeats - outroBeats;
    // The genre's pace when two full verses and choruses fit; otherwise the lines get quicker.
    song.lineBeats = vocalBeats / genre.lineBeats >= 8
                         ? genre.lineBeats
                         : std::max(2, std::min(genre.lineBeats, vocalBeats / minLines));
    const int lines = vocalBeats / song.lineBeats;

    const int chorus = lines >= 16 ? 4 : lines >= 8 ? 2 : 1;
    int rest = lines - 2 * chorus;
    const int bridge = rest >= 14 ? 4 : rest >= 10 ? 2 : 0;
    rest -= bridge;
    const int verse = std::clamp(rest / 2, 1, 6);
    song.sections = {{"Verse 1", verse}, {"Chorus", chorus}, {"Verse 2", verse}, {"Chorus", chorus}};
    if (bridge > 0) {
        song.sections.append({"Bridge", bridge});
        // A last chorus when it fits; the lines left over lengthen the ending.
        if (lines - song.lineCount() >= chorus)
            song.sections.append({"Chorus", chorus});
    }
    return song;
}
