#include "Text/MarkdownBlock.h"
#include "Text/NotesSection.h"

#include <QFile>
#include <QTest>

namespace {

QString describe(const MarkdownBlock& block) {
    static const char* kinds[] = {"heading", "bullet", "ordered", "paragraph"};
    return QStringLiteral("%1(level %2, number '%3', '%4')")
        .arg(QLatin1StringView(kinds[int(block.kind)]))
        .arg(block.level)
        .arg(block.number, block.text);
}

} // namespace

char* toString(const MarkdownBlock& block) {
    return QTest::toString(describe(block));
}

class MarkdownBlockTest : public QObject {
    Q_OBJECT

private slots:
    void notesFixture() {
        QFile file(QStringLiteral(TEXT_TEST_DATA "/notes.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString notes = QString::fromUtf8(file.readAll());
        QVERIFY(notes.contains(u"\r\n"));

        const QList<MarkdownBlock> expected{
            MarkdownBlock::heading(1, u"Cellular Respiration"_qs),
            MarkdownBlock::paragraph(u"Cellular respiration turns **glucose** into usable energy (ATP).\n"
                                     u"It happens in *three* stages."_qs),
            MarkdownBlock::heading(2, u"Stages"_qs),
            MarkdownBlock::ordered(u"1"_qs, 0, u"Glycolysis — in the cytoplasm"_qs),
            MarkdownBlock::ordered(u"2"_qs, 0, u"Krebs cycle — in the mitochondrial matrix"_qs),
            MarkdownBlock::bullet(1, u"Produces NADH and FADH₂"_qs),
            MarkdownBlock::bullet(2, u"Releases CO₂"_qs),
            MarkdownBlock::ordered(u"3"_qs, 0, u"Electron transport chain"_qs),
            MarkdownBlock::heading(3, u"Key numbers"_qs),
            MarkdownBlock::bullet(0, u"Net yield: about **30–32 ATP** per glucose"_qs),
            MarkdownBlock::bullet(0, u"Oxygen is the final electron acceptor"_qs),
            MarkdownBlock::bullet(0, u"See [the review sheet](https://example.org/review) for details"_qs),
            MarkdownBlock::paragraph(u"3.5 billion years ago, early life relied on fermentation instead.\n"
                                     u"####### Not a heading"_qs),
        };
        QCOMPARE(MarkdownBlock::parse(notes), expected);
        // The same text with bare line feeds gives the same blocks.
        QCOMPARE(MarkdownBlock::parse(QString(notes).replace(u"\r\n"_qs, u"\n"_qs)), expected);
    }

    void classification_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<MarkdownBlock>("block");
        QTest::newRow("number with parenthesis")
            << "3) Word" << MarkdownBlock::ordered(u"3"_qs, 0, u"Word"_qs);
        QTest::newRow("decimal number is text")
            << "3.5 kg of salt" << MarkdownBlock::paragraph(u"3.5 kg of salt"_qs);
        QTest::newRow("number without space is text") << "12.Item" << MarkdownBlock::paragraph(u"12.Item"_qs);
        QTest::newRow("multi-digit ordered")
            << "  10. Tenth" << MarkdownBlock::ordered(u"10"_qs, 1, u"Tenth"_qs);
        QTest::newRow("four spaces nest two levels") << "    - deep" << MarkdownBlock::bullet(2, u"deep"_qs);
        QTest::newRow("twelve spaces are capped")
            << "            * deeper" << MarkdownBlock::bullet(5, u"deeper"_qs);
        QTest::newRow("tab plus two spaces") << "\t  • mixed" << MarkdownBlock::bullet(2, u"mixed"_qs);
        QTest::newRow("odd space rounds down") << "   - three" << MarkdownBlock::bullet(1, u"three"_qs);
        QTest::newRow("emphasis is not a bullet")
            << "**Bold** start" << MarkdownBlock::paragraph(u"**Bold** start"_qs);
        QTest::newRow("dash without space is text")
            << "-5 degrees" << MarkdownBlock::paragraph(u"-5 degrees"_qs);
        QTest::newRow("six hashes") << "###### Small" << MarkdownBlock::heading(6, u"Small"_qs);
        QTest::newRow("hash without space is text") << "#hashtag" << MarkdownBlock::paragraph(u"#hashtag"_qs);
        QTest::newRow("indented heading") << "  ## Indented  " << MarkdownBlock::heading(2, u"Indented"_qs);
    }
    void classification() {
        QFETCH(QString, line);
        QFETCH(MarkdownBlock, block);
        QCOMPARE(MarkdownBlock::parse(line), QList<MarkdownBlock>{block});
    }

    void paragraphsEndAtBlankLinesAndOtherBlocks() {
        QCOMPARE(MarkdownBlock::parse(u"one\n  two  \n \t \nthree\n- item\nfour"_qs),
                 (QList<MarkdownBlock>{
                     MarkdownBlock::paragraph(u"one\ntwo"_qs), MarkdownBlock::paragraph(u"three"_qs),
                     MarkdownBlock::bullet(0, u"item"_qs), MarkdownBlock::paragraph(u"four"_qs)}));
        QVERIFY(MarkdownBlock::parse(u"\n \r\n\t"_qs).isEmpty());
    }

    void notesPlainText() {
        const NotesSection section{u"Summary"_qs, u"doc.text"_qs,
                                   u"## **Key** idea\r\n- first **point**\r\n  * second\r\n• third\r\n\r\n"
                                   u"3) keep numbers\r\n-not a bullet"_qs};
        QCOMPARE(section.plainText(),
                 u"Key idea\nfirst point\nsecond\nthird\n\n3) keep numbers\n-not a bullet"_qs);
    }
};

QTEST_MAIN(MarkdownBlockTest)
#include "MarkdownBlockTest.moc"
