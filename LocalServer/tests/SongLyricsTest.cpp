#include "Text/LyricsText.h"
#include "SongText.h"
#include "Songs/SongArrangement.h"
#include "Songs/SongComposer.h"
#include "Songs/SongGenre.h"
#include "Songs/SongLyricsWriter.h"
#include "Songs/Syllables.h"

#include <QTest>

namespace {

using Kind = LyricsText::Line::Kind;

SongLyricsWriter::Lyrics lyricsFor(const QString& genreId, int seconds, const QStringList& ideas = {}) {
    const SongGenre& genre = *SongGenre::find(genreId);
    int ideaCount = 0;
    const QList<KeyTerm> terms = SongLyricsWriter::termsFor(cellTransportNotes(), ideas, &ideaCount);
    return SongLyricsWriter::write("Cell Biology: Transport", terms, ideaCount, genre,
                                   SongArrangement::plan(genre, seconds));
}

// The lyric lines of each section as the app shows them, keyed by the section's marker.
QList<QPair<QString, QStringList>> sectionsOf(const QString& lyrics) {
    QList<QPair<QString, QStringList>> sections;
    for (const LyricsText::Line& line : LyricsText::parse(lyrics)) {
        if (line.kind != Kind::lyric)
            continue;
        if (line.text.startsWith(u'['))
            sections.append({line.text, {}});
        else if (!sections.isEmpty())
            sections.last().second.append(line.text);
        else
            sections.append({QString(), {line.text}});
    }
    return sections;
}

} // namespace

// Lyrics as the app's lyrics view reads them, the song's form for each length, and the small text
// tools the lines are fitted with.
class SongLyricsTest : public QObject {
    Q_OBJECT

private slots:
    void lyricsReadAsSectionsOfLyricLines_data() {
        QTest::addColumn<QString>("genre");
        for (const QString& genre : SongComposer::genres())
            QTest::newRow(qPrintable(genre)) << genre;
    }
    void lyricsReadAsSectionsOfLyricLines() {
        QFETCH(QString, genre);
        const SongLyricsWriter::Lyrics lyrics = lyricsFor(genre, 60);
        QVERIFY(lyrics.text.contains("\nGenre: " + SongGenre::find(genre)->label + "\n"));
        QVERIFY(
            lyrics.text.contains(QStringLiteral("\nTempo: %1 BPM\n").arg(SongGenre::find(genre)->tempoBpm)));
        const QList<LyricsText::Line> lines = LyricsText::parse(lyrics.text);
        // The heading is a header; the metadata and the takeaway are not shown as lyrics.
        QCOMPARE(lines.first(), LyricsText::Line::header("Cell Biology: Transport"));
        for (const LyricsText::Line& line : lines) {
            QVERIFY2(!line.text.contains("Genre:") && !line.text.contains("Tempo:"), qPrintable(line.text));
            QVERIFY(!line.text.contains("takeaway", Qt::CaseInsensitive));
        }
        QVERIFY(lyrics.text.trimmed().section(u'\n', -1).startsWith("Hook takeaway: "));

        const auto sections = sectionsOf(lyrics.text);
        QStringList markers;
        for (const auto& [marker, sung] : sections) {
            markers << marker;
            QVERIFY2(!sung.isEmpty(), qPrintable(marker));
            for (const QString& line : sung) {
                const int syllables = Syllables::countLine(line);
                QVERIFY2(syllables >= 3 && syllables <= 13, qPrintable(line));
            }
        }
        QStringList planned;
        for (const SongArrangement::Section& section :
             SongArrangement::plan(*SongGenre::find(genre), 60).sections)
            planned << "[" + section.name + "]";
        QCOMPARE(markers, planned);
        QCOMPARE(markers.mid(0, 4), (QStringList{"[Verse 1]", "[Chorus]", "[Verse 2]", "[Chorus]"}));
        // The chorus is sung the same each time.
        QCOMPARE(sections.at(1).second, sections.at(3).second);
        // What is sung is exactly what is shown.
        QStringList shown;
        for (const auto& section : sections)
            shown += section.second;
        QCOMPARE(lyrics.sungLines, shown);
        // The same notes give the same song.
        QCOMPARE(lyricsFor(genre, 60).text, lyrics.text);
    }

    void versesCarryTheTermsAndTheirMeaning() {
        const auto sections = sectionsOf(lyricsFor("acoustic", 60).text);
        const QStringList verse1 = sections.at(0).second;
        QVERIFY(verse1.size() >= 4);
        // The first line sings the first key term with the gist of its meaning.
        const KeyTerm first = SongLyricsWriter::termsFor(cellTransportNotes(), {}).first();
        QVERIFY2(verse1.at(0).contains(first.term, Qt::CaseInsensitive), qPrintable(verse1.at(0)));
        QVERIFY2(verse1.at(0).contains(SongLyricsWriter::gist(first, 3)), qPrintable(verse1.at(0)));
        // Every verse line names a different term while there are terms left.
        QSet<QString> named;
        for (const QString& line : verse1)
            for (const QString term :
                 {"osmosis", "diffusion", "active transport", "membrane", "turgor pressure", "mitochondria"})
                if (line.contains(term, Qt::CaseInsensitive))
                    named.insert(term);
        QCOMPARE(named.size(), verse1.size());
    }

    void keyIdeasLeadAndFillTheHook() {
        const QStringList ideas{"turgor pressure", "mitochondria"};
        const SongLyricsWriter::Lyrics lyrics = lyricsFor("hip-hop", 60, ideas);
        const auto sections = sectionsOf(lyrics.text);
        QVERIFY2(sections.at(0).second.at(0).contains("turgor pressure", Qt::CaseInsensitive),
                 qPrintable(sections.at(0).second.at(0)));
        const QString chorus = sections.at(1).second.join(u'\n');
        for (const QString& idea : ideas)
            QVERIFY2(chorus.contains(idea, Qt::CaseInsensitive), qPrintable(chorus));
        const QString takeaway = lyrics.text.trimmed().section(u'\n', -1);
        QVERIFY2(takeaway.contains("central vacuole") || takeaway.contains("push of water"),
                 qPrintable(takeaway));
        QVERIFY(takeaway.contains("mitochondria", Qt::CaseInsensitive));
        // Ideas typed as one line, as the song sheet sends them, are each in the hook.
        const QString typed =
            sectionsOf(lyricsFor("country", 60, {"membrane, diffusion; turgor pressure"}).text)
                .at(1)
                .second.join(u'\n');
        for (const QString idea : {"membrane", "diffusion", "turgor pressure"})
            QVERIFY2(typed.contains(idea, Qt::CaseInsensitive), qPrintable(typed));
        // An idea the notes never define is still sung, with what the notes say about it.
        const SongLyricsWriter::Lyrics unknown = lyricsFor("rock", 60, {"photosynthesis"});
        QVERIFY(
            sectionsOf(unknown.text).at(1).second.join(u' ').contains("photosynthesis", Qt::CaseInsensitive));
    }

    void theFormFitsTheLength_data() {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("seconds");
        for (const QString& genre : SongComposer::genres())
            for (const int seconds : {10, 30, 60, 120})
                QTest::addRow("%s %ds", qPrintable(genre), seconds) << genre << seconds;
    }
    void theFormFitsTheLength() {
        QFETCH(QString, genre);
        QFETCH(int, seconds);
        const SongArrangement song = SongArrangement::plan(*SongGenre::find(genre), seconds);
        QCOMPARE(song.totalBeats % 4, 0);
        const double barSeconds = 4 * song.beatSeconds();
        // Whole bars near the length asked for, and at least four.
        QVERIFY2(std::abs(song.durationMs() / 1000.0 - std::max(double(seconds), 4 * barSeconds)) <=
                     barSeconds / 2 + 0.01,
                 qPrintable(QString::number(song.durationMs())));
        QVERIFY(song.sections.size() >= 4);
        QCOMPARE(song.sections.at(0).name, "Verse 1");
        QCOMPARE(song.sections.at(1).name, "Chorus");
        // The voice starts after the intro and ends before the last beat, with time left to fade.
        QVERIFY(song.introBeats >= 4);
        QVERIFY(song.lineStartBeat(song.lineCount()) <= song.totalBeats - 2);
        QVERIFY(song.lineBeats >= 2);
        // Two minutes leave time for a bridge and a last chorus.
        if (seconds == 120) {
            QCOMPARE(song.sections.at(4).name, "Bridge");
            QCOMPARE(song.sections.last().name, "Chorus");
        }
    }

    void aGistIsTheMeaningWithoutTheTerm() {
        const KeyTerm osmosis{"osmosis", "Osmosis is the movement of water across a membrane.", {}};
        QCOMPARE(SongLyricsWriter::gist(osmosis, 6), "movement of water");
        // It never ends on a word that leads into the part that was cut.
        QCOMPARE(SongLyricsWriter::gist(osmosis, 9), "movement of water");
        // "of" takes its noun when that is short.
        QCOMPARE(SongLyricsWriter::gist(osmosis, 4), "movement of water");
        QCOMPARE(SongLyricsWriter::gist(osmosis, 12), "movement of water across a membrane");
        const KeyTerm atp{"ATP", "ATP stores energy, which cells spend.", {}};
        QCOMPARE(SongLyricsWriter::gist(atp, 8), "ATP stores energy");
        QCOMPARE(SongLyricsWriter::gist({"x", "DNA holds genes", {}}, 8), "DNA holds genes");
        QCOMPARE(SongLyricsWriter::gist({"x", "", {}}, 8), QString());
    }

    void syllablesAreCountedBySpelling() {
        QCOMPARE(Syllables::count("water"), 2);
        QCOMPARE(Syllables::count("membrane"), 2);
        QCOMPARE(Syllables::count("table"), 2);
        QCOMPARE(Syllables::count("osmosis,"), 3);
        QCOMPARE(Syllables::count("sodium-potassium"), 7);
        QCOMPARE(Syllables::count("bacteria"), 4);
        QCOMPARE(Syllables::count("nation"), 2);
        QCOMPARE(Syllables::count("ATP"), 1);
        QCOMPARE(Syllables::count("—"), 0);
        QCOMPARE(Syllables::countLine("the flow of water"), 5);
    }
};

QTEST_MAIN(SongLyricsTest)
#include "SongLyricsTest.moc"
