#include "Text/LyricsText.h"
#include "Text/LyricsLineModel.h"

#include <QFile>
#include <QTest>

using Line = LyricsText::Line;

char* toString(const Line& line) {
    static const char* kinds[] = {"header", "lyric", "blank"};
    return QTest::toString(QStringLiteral("%1(%2)").arg(QLatin1StringView(kinds[int(line.kind)]), line.text));
}

class LyricsTextTest : public QObject {
    Q_OBJECT

private slots:
    void songFixture() {
        QFile file(QStringLiteral(TEXT_TEST_DATA "/song.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<Line> expected{
            Line::header(u"Verse 1"_qs),
            Line::lyric(u"[Verse 1]"_qs),
            Line::lyric(u"Glucose walks into the cell at dawn,"_qs),
            Line::lyric(u"Glycolysis splits it, the race is on!"_qs),
            Line::blank(),
            Line::lyric(u"Two ATP and pyruvate too,"_qs),
            Line::lyric(u"*Krebs is waiting* just for you."_qs),
            Line::blank(),
            Line::header(u"Chorus"_qs),
            Line::lyric(u"Genre: not metadata any more"_qs),
            Line::lyric(u"Mitochondria, powerhouse of the cell,"_qs),
            Line::lyric(u"ATP, ATP, ring the bell!"_qs),
            Line::lyric(u"####### Seven hashes stay a lyric"_qs),
        };
        QCOMPARE(LyricsText::parse(QString::fromUtf8(file.readAll())), expected);
    }

    void rules_data() {
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<QList<Line>>("lines");
        QTest::newRow("metadata keys before the body, any case")
            << "GENRE: pop\n- Style : soft\nBPM:90\nDuration: 2:30\nLength: short\nlyric"
            << QList<Line>{Line::lyric(u"lyric"_qs)};
        QTest::newRow("metadata needs a colon and a known key")
            << "Tempo fast\nSinger: Ann"
            << QList<Line>{Line::lyric(u"Tempo fast"_qs), Line::lyric(u"Singer: Ann"_qs)};
        QTest::newRow("takeaways anywhere") << "a\n**Takeaway:** x\n1. hook TAKEAWAY: y\nb"
                                            << QList<Line>{Line::lyric(u"a"_qs), Line::lyric(u"b"_qs)};
        QTest::newRow("rules of each kind, short ones are lyrics")
            << "a\n___\nb\n-----\nc\n--\n-*-"
            << QList<Line>{Line::lyric(u"a"_qs), Line::blank(),         Line::lyric(u"b"_qs),  Line::blank(),
                           Line::lyric(u"c"_qs), Line::lyric(u"--"_qs), Line::lyric(u"-*-"_qs)};
        QTest::newRow("leading and repeated blanks")
            << "\n\n---\n  a  \n\n \n\nb\n\n"
            << QList<Line>{Line::lyric(u"a"_qs), Line::blank(), Line::lyric(u"b"_qs)};
        QTest::newRow("headers unwrap emphasis pairs only")
            << "# ***Bridge***\n## **Intro*\n###### *  Outro  *\n##Verse\n#"
            << QList<Line>{Line::header(u"Bridge"_qs), Line::header(u"*Intro"_qs), Line::header(u"Outro"_qs),
                           Line::lyric(u"##Verse"_qs), Line::lyric(u"#"_qs)};
        QTest::newRow("carriage returns")
            << "[Hook]\r\nla\rla\r\n"
            << QList<Line>{Line::lyric(u"[Hook]"_qs), Line::lyric(u"la"_qs), Line::lyric(u"la"_qs)};
    }
    void rules() {
        QFETCH(QString, lyrics);
        QFETCH(QList<Line>, lines);
        QCOMPARE(LyricsText::parse(lyrics), lines);
    }

    void normalizedLine() {
        QCOMPARE(LyricsText::normalized(u"  **1. Genre:** pop  "_qs), u"Genre: pop"_qs);
        QCOMPARE(LyricsText::normalized(u"— 𝐀lpha"_qs), u"𝐀lpha"_qs);
        QCOMPARE(LyricsText::normalized(u"123 !!"_qs), QString());
    }

    void lineModel() {
        LyricsLineModel model;
        model.setLyrics(u"## Verse\nla la\n\nla"_qs);
        QCOMPARE(model.rowCount(), 4);
        const int kind = model.roleNames().key("kind");
        const int text = model.roleNames().key("text");
        QCOMPARE(model.data(model.index(0), kind).toString(), u"header"_qs);
        QCOMPARE(model.data(model.index(0), text).toString(), u"Verse"_qs);
        QCOMPARE(model.data(model.index(1), kind).toString(), u"lyric"_qs);
        QCOMPARE(model.data(model.index(2), kind).toString(), u"blank"_qs);
        QCOMPARE(model.data(model.index(2), text).toString(), QString());
    }
};

QTEST_GUILESS_MAIN(LyricsTextTest)
#include "LyricsTextTest.moc"
