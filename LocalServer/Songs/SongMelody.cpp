#include "Songs/SongMelody.h"

#include "Songs/SongArrangement.h"
#include "Songs/SongGenre.h"
#include "Songs/Syllables.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace {

// Scale steps from the tonic for the notes of a line, by section: verses move around the middle,
// the chorus climbs higher, the bridge sits low.
constexpr std::array verseContour{0, 1, 2, 1, 2, 3, 2, 1, 0, 1, 2, 1};
constexpr std::array chorusContour{2, 3, 4, 3, 4, 5, 4, 3, 2, 3, 4, 3};
constexpr std::array bridgeContour{-1, 0, 1, 0, -1, 0, 1, 2, 1, 0, -1, 0};

int scaleSemitone(const QList<int>& scale, int step) {
    const int size = int(scale.size());
    const int octave = step >= 0 ? step / size : -((-step + size - 1) / size);
    return octave * 12 + scale.at(step - octave * size);
}

QStringList wordsOf(const QString& line) {
    static const QRegularExpression punctuation(QStringLiteral("[^\\w'\\-]"));
    QStringList words;
    for (QString word : line.split(u' ', Qt::SkipEmptyParts)) {
        word.remove(punctuation);
        if (Syllables::count(word) > 0)
            words.append(word);
    }
    return words;
}

} // namespace

SongMelody SongMelody::compose(const SongGenre& genre, const SongArrangement& arrangement,
                               const QStringList& sungLines) {
    SongMelody melody;
    int index = 0;
    for (const SongArrangement::Section& section : arrangement.sections) {
        const auto& contour = section.name == "Chorus"   ? chorusContour
                              : section.name == "Bridge" ? bridgeContour
                                                         : verseContour;
        for (int i = 0; i < section.lines && index < sungLines.size(); ++i, ++index) {
            const QStringList words = wordsOf(sungLines.at(index));
            int syllables = 0;
            for (const QString& word : words)
                syllables += Syllables::count(word);
            if (syllables == 0)
                continue;
            // Eighths when they fit the line, quarters for a slow sung line, sixteenths when it is quick.
            const int sixteenths = arrangement.lineBeats * 4;
            int slot = std::clamp(sixteenths / syllables, 1, genre.sung ? 4 : 2);
            if (slot == 3)
                slot = 2;
            const int startBeat = arrangement.lineStartBeat(index);
            const int bar = startBeat / 4;
            const int lastBar = (startBeat + arrangement.lineBeats - 1) / 4;
            const int chordRoot = genre.chordRoots.at(lastBar % genre.chordRoots.size());
            int at = 0;
            for (qsizetype w = 0; w < words.size(); ++w) {
                const int length =
                    std::min(Syllables::count(words.at(w)) * slot, std::max(1, sixteenths - at));
                int semitone = genre.tonic;
                if (!genre.sung)
                    semitone += (index % 2) * 2 + (w == words.size() - 1 ? -1 : 0);
                else if (w == words.size() - 1)
                    semitone += chordRoot > 6 ? chordRoot - 12 : chordRoot;
                else
                    semitone += scaleSemitone(genre.scale, contour.at((w + bar) % contour.size()));
                melody.notes.append({words.at(w), startBeat + at / 4.0, length / 4.0, semitone});
                at += length;
            }
        }
    }
    return melody;
}
