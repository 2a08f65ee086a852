#include "MnemonicHTMLParser.h"
#include "MnemonicTestPrinting.h"

#include <QFile>
#include <QTest>

namespace {

QString fixture(const QString& name) {
    QFile file(QStringLiteral(MNEMONIC_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

CardBlock md(const char* text) {
    return CardBlock::markdown(QString::fromUtf8(text));
}

} // namespace

class MnemonicHTMLParserTest : public QObject {
    Q_OBJECT

private slots:
    void generatedGuideWithWrapper() {
        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(fixture("photosynthesis-guide.html"));

        QCOMPARE(guide.summary,
                 std::optional<QString>(u"Read each card out loud, then cover it and recall the "
                                        u"key idea. Review the tricky ones twice."_qs));
        QCOMPARE(guide.cards.size(), 5);

        QCOMPARE(guide.cards[0],
                 (Card{QString::fromUtf8("OIL RIG — Redox in the Light Reactions"),
                       {md("**O**xidation **I**s **L**oss, **R**eduction **I**s **G**ain (of electrons).\n\n"
                           "Water is *oxidised* at photosystem II; NADP + is *reduced* to NADPH.\n\n"
                           "Electrons flow: H 2 O &rarr; PSII &rarr; PSI &rarr; NADP +\n\n"
                           "- Light reactions happen in the thylakoid membrane\n\n"
                           "- The Calvin cycle happens in the stroma")},
                       MnemonicAccent::orange}));

        QCOMPARE(guide.cards[1],
                 (Card{u"The Calvin Cycle in Three Steps"_qs,
                       {md("Remember the order with **Fix, Reduce, Regenerate**:"),
                        CardBlock::grid({{u"1. Fix RuBisCO attaches CO 2 to RuBP"_qs,
                                          u"2. Reduce ATP & NADPH turn 3-PGA into G3P"_qs,
                                          u"3. Regenerate RuBP is rebuilt so the cycle continues"_qs}},
                                        3)},
                       MnemonicAccent::green}));

        QCOMPARE(guide.cards[2],
                 (Card{u"Inputs and Outputs"_qs,
                       {CardBlock::grid(
                           {{u"Stage"_qs, u"Inputs"_qs, u"Outputs"_qs},
                            {u"Light reactions"_qs, u"H 2 O, light, ADP, NADP +"_qs, u"O 2 , ATP, NADPH"_qs},
                            {u"Calvin cycle"_qs, u"CO 2 , ATP, NADPH"_qs, u"G3P &rarr; glucose"_qs}},
                           3)},
                       MnemonicAccent::blue}));

        QCOMPARE(guide.cards[3],
                 (Card{u"Story: The Chloroplast Factory"_qs,
                       {md("Picture a *solar-powered factory* where workers 'catch' sunlight …\n\n"
                           "**Why it sticks**\n\n"
                           "Vivid images – and a place for each step – make the sequence easy to replay.")},
                       MnemonicAccent::purple}));

        QCOMPARE(guide.cards[4],
                 (Card{QString(),
                       {md("If a question mentions O 2 release, think *light reactions*; if it mentions CO 2 "
                           "fixation, think *Calvin cycle*.")},
                       MnemonicAccent::yellow}));
    }

    void flatGuideWithFlexColumnAndTextTip() {
        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(fixture("flat-guide.html"));

        QCOMPARE(guide.summary, std::nullopt);
        QCOMPARE(guide.cards.size(), 3);
        QCOMPARE(
            guide.cards[0],
            (Card{u"DNA Bases"_qs,
                  {md("“**A**pples in the **T**ree, **C**ar in the **G**arage” — A pairs with T, C pairs "
                      "with G."),
                   CardBlock::grid({{u"Adenine &harr; Thymine"_qs}, {u"Cytosine &harr; Guanine"_qs}}, 1)},
                  MnemonicAccent::orange}));
        QCOMPARE(guide.cards[1].accent, MnemonicAccent::blue);
        // A section without a colour whose text opens with "Remember" is a tip.
        QCOMPARE(guide.cards[2], (Card{QString(),
                                       {md("chromosomes line up in the **middle** during metaphase.")},
                                       MnemonicAccent::yellow}));
    }

    void accentsFromBackground_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<MnemonicAccent>("accent");
        QTest::newRow("orange") << "background: #FFF3E0" << MnemonicAccent::orange;
        QTest::newRow("green, no hash") << "background-color:E8F5E9" << MnemonicAccent::green;
        QTest::newRow("blue, lower case")
            << "padding:4px; BACKGROUND-COLOR : #e3f2fd" << MnemonicAccent::blue;
        QTest::newRow("purple") << "background:#f3e5f5;" << MnemonicAccent::purple;
        QTest::newRow("unknown colour") << "background:#123456" << MnemonicAccent::neutral;
        QTest::newRow("three-digit colour") << "background:#fff" << MnemonicAccent::neutral;
        QTest::newRow("no colour") << "padding:4px" << MnemonicAccent::neutral;
    }
    void accentsFromBackground() {
        QFETCH(QString, style);
        QFETCH(MnemonicAccent, accent);
        const auto guide =
            MnemonicHTMLParser::parse(u"<div style=\""_qs + style + u"\"><h3>Title</h3><p>Body</p></div>"_qs);
        QCOMPARE(guide.cards.size(), 1);
        QCOMPARE(guide.cards[0].accent, accent);
        QCOMPARE(guide.cards[0].blocks, QList<CardBlock>{CardBlock::markdown(u"Body"_qs)});
    }

    void tipSections_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<Card>("card");
        QTest::newRow("yellow background, any case, no hash")
            << "<div style='background-color: fff9c4'><h3>Hint</h3><p>Say it twice.</p></div>"
            << Card{u"Hint"_qs, {CardBlock::markdown(u"Say it twice."_qs)}, MnemonicAccent::yellow};
        QTest::newRow("lead-in removed, block tags joined into one paragraph")
            << "<div><p>Tip - </p><p>Say it <b>twice</b>.</p></div>"
            << Card{{}, {CardBlock::markdown(u"Say it **twice**."_qs)}, MnemonicAccent::yellow};
        QTest::newRow("emphasised lead-in with colon outside")
            << "<div><p><strong>Exam hint</strong>: dates first</p></div>"
            << Card{{}, {CardBlock::markdown(u"dates first"_qs)}, MnemonicAccent::yellow};
        QTest::newRow("emphasis running past the lead-in stays")
            << "<div><p><em>Recall: the whole line</em></p></div>"
            << Card{{}, {CardBlock::markdown(u"*the whole line*"_qs)}, MnemonicAccent::yellow};
        QTest::newRow("lead-in in the title only")
            << "<div style=background:#FFF9C4><h3>Remember</h3><p>Tip the waiter.</p></div>"
            << Card{u"Remember"_qs, {CardBlock::markdown(u"the waiter."_qs)}, MnemonicAccent::yellow};
    }
    void tipSections() {
        QFETCH(QString, html);
        QFETCH(Card, card);
        const auto guide = MnemonicHTMLParser::parse(html);
        QCOMPARE(guide.cards, QList<Card>{card});
    }

    void nestedDivsDoNotEndACard() {
        const auto guide = MnemonicHTMLParser::parse(
            u"<div style='background:#E8F5E9'><h3>Outer</h3><div><div>deep</div></div><p>after</p></div>"
            "<div><h3>Second</h3></div>"_qs);
        QCOMPARE(guide.cards.size(), 2);
        QCOMPARE(guide.cards[0],
                 (Card{u"Outer"_qs, {CardBlock::markdown(u"deep\n\nafter"_qs)}, MnemonicAccent::green}));
        QCOMPARE(guide.cards[1], (Card{u"Second"_qs, {}, MnemonicAccent::neutral}));
    }

    void wrapperNeedsTwoTitles() {
        // One section with a single title is a card, not a wrapper.
        const auto single = MnemonicHTMLParser::parse(u"<div><h3>Only</h3><div>a</div><div>b</div></div>"_qs);
        QCOMPARE(single.cards.size(), 1);
        QCOMPARE(single.cards[0].title, u"Only"_qs);

        const auto wrapped = MnemonicHTMLParser::parse(
            u"<DIV class=guide><div><h3>One</h3></div>stray text<div><H3 >Two</h3 ></div></DIV>"_qs);
        QCOMPARE(wrapped.cards.size(), 2);
        QCOMPARE(wrapped.cards[0].title, u"One"_qs);
        QCOMPARE(wrapped.cards[1].title, u"Two"_qs);
    }

    void summaryComesFromTheFirstHowToSectionOnly() {
        const auto guide =
            MnemonicHTMLParser::parse(u"<div><h3>Cells</h3><p>text</p></div>"
                                      "<div><p>HOW TO USE THESE MNEMONICS: - say them aloud</p></div>"
                                      "<div><h3>How to use a palace</h3><p>walk it</p></div>"_qs);
        QCOMPARE(guide.summary, std::optional<QString>(u"say them aloud"_qs));
        QCOMPARE(guide.cards.size(), 2);
        QCOMPARE(guide.cards[1].title, u"How to use a palace"_qs);

        // A "how to use" section that is only the preamble gives no summary and no card.
        const auto empty = MnemonicHTMLParser::parse(u"<div><h3>How to use these mnemonics</h3></div>"_qs);
        QCOMPARE(empty.summary, std::nullopt);
        QVERIFY(empty.cards.isEmpty());
    }

    void gridContainers_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<CardBlock>("grid");
        QTest::newRow("repeat columns") << "display:grid;grid-template-columns:repeat( 2 , minmax(0,1fr))"
                                        << CardBlock::grid({{u"a"_qs, u"b"_qs}, {u"c"_qs}}, 2);
        QTest::newRow("explicit tracks") << "display: Grid; grid-template-columns: 1fr 2fr 1fr"
                                         << CardBlock::grid({{u"a"_qs, u"b"_qs, u"c"_qs}}, 3);
        QTest::newRow("tracks with spaces inside functions")
            << "display:grid;grid-template-columns: minmax(0, 1fr)  fit-content( 8em )"
            << CardBlock::grid({{u"a"_qs, u"b"_qs}, {u"c"_qs}}, 2);
        QTest::newRow("grid without columns is one column")
            << "display:grid" << CardBlock::grid({{u"a"_qs}, {u"b"_qs}, {u"c"_qs}}, 1);
        QTest::newRow("more columns than cells")
            << "display:grid;grid-template-columns:repeat(99999999999999999999,1fr)"
            << CardBlock::grid({{u"a"_qs, u"b"_qs, u"c"_qs}}, 3);
        QTest::newRow("flex row") << "display:flex" << CardBlock::grid({{u"a"_qs, u"b"_qs, u"c"_qs}}, 3);
        QTest::newRow("flex column") << "display:flex;flex-direction:column-reverse"
                                     << CardBlock::grid({{u"a"_qs}, {u"b"_qs}, {u"c"_qs}}, 1);
    }
    void gridContainers() {
        QFETCH(QString, style);
        QFETCH(CardBlock, grid);
        const QString html =
            u"<div><h3>T</h3><p>before</p><div style=\""_qs + style +
            u"\"><div>a</div>\n<div>b</div> <div>c<br></div><div> </div></div><p>after</p></div>"_qs;
        const auto guide = MnemonicHTMLParser::parse(html);
        QCOMPARE(guide.cards.size(), 1);
        QCOMPARE(guide.cards[0].blocks, (QList<CardBlock>{CardBlock::markdown(u"before"_qs), grid,
                                                          CardBlock::markdown(u"after"_qs)}));
    }

    void tablesBecomeGrids() {
        const auto guide = MnemonicHTMLParser::parse(
            u"<div><h3>T</h3><table><tr><th>k</th><td>v <b>1</b></td></tr><tr></tr><tr><td>only</td></tr>"
            "<tr><td>unclosed cell</tr></table><p>tail</p></div>"_qs);
        QCOMPARE(guide.cards.size(), 1);
        QCOMPARE(guide.cards[0].blocks,
                 (QList<CardBlock>{CardBlock::grid({{u"k"_qs, u"v 1"_qs}, {u"only"_qs}}, 2),
                                   CardBlock::markdown(u"tail"_qs)}));
    }

    void markupWithoutSectionsHasNoCards() {
        const auto guide = MnemonicHTMLParser::parse(u"<h3>Title</h3><p>No sections here</p></div>"_qs);
        QVERIFY(guide.cards.isEmpty());
        QCOMPARE(guide.summary, std::nullopt);
    }

    void brokenMarkupDegradesToText() {
        // The unclosed title is no title; "< b <i>" reads as one tag, a bold one.
        const auto guide = MnemonicHTMLParser::parse(u"<div><h3>Open title<p>a < b <i>c & d"_qs);
        QCOMPARE(guide.cards,
                 (QList<Card>{Card{
                     {}, {CardBlock::markdown(u"Open title\n\na **c & d"_qs)}, MnemonicAccent::neutral}}));
    }
};

QTEST_GUILESS_MAIN(MnemonicHTMLParserTest)
#include "MnemonicHTMLParserTest.moc"
