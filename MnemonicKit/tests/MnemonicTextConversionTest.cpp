#include "EmojiFilter.h"
#include "HTMLEntities.h"
#include "MnemonicHTMLParser.h"

#include <QTest>

class MnemonicTextConversionTest : public QObject {
    Q_OBJECT

private slots:
    void entitiesDecodeOneLevel_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double-encoded ampersand") << "&amp;amp;"
                                                  << "&amp;";
        QTest::newRow("encoded entity") << "&amp;lt;b&amp;gt;"
                                        << "&lt;b&gt;";
        QTest::newRow("all of the table")
            << "&nbsp;&lt;&gt;&quot;&#39;&apos;&rsquo;&lsquo;&ldquo;&rdquo;&mdash;&ndash;&hellip;&bull;&deg;&"
               "amp;"
            << QString::fromUtf8(" <>\"''\u2019\u2018\u201C\u201D\u2014\u2013\u2026\u2022\u00B0&");
        QTest::newRow("unknown entities stay") << "&rarr; &#8594; &AMP; &amp"
                                               << "&rarr; &#8594; &AMP; &amp";
        QTest::newRow("lone ampersands") << "R&D & &"
                                         << "R&D & &";
    }
    void entitiesDecodeOneLevel() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(HTMLEntities::decode(input), expected);
    }

    void emojiAreRemovedWithOneFollowingSpace_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pictograph and its space")
            << QString::fromUtf8("🧠 Memory  palace") << "Memory  palace";
        QTest::newRow("only one space goes") << QString::fromUtf8("a 🌱  b") << "a  b";
        QTest::newRow("skin tone and joiner sequence")
            << QString::fromUtf8("Team 👩🏽‍🔬 works") << "Team works";
        QTest::newRow("keycap keeps its digit") << QString::fromUtf8("Step 1️⃣ go") << "Step 1go";
        QTest::newRow("text-style symbols at or above U+2000")
            << QString::fromUtf8("Pass ✔ then ↔ and ™ done") << "Pass then and done";
        QTest::newRow("emoji-capable characters below U+2000 stay")
            << QString::fromUtf8("#1 * © ® 0") << QString::fromUtf8("#1 * © ® 0");
        QTest::newRow("dashes, arrows and accents stay")
            << QString::fromUtf8("café — → “quoted”") << QString::fromUtf8("café — → “quoted”");
        QTest::newRow("unpaired surrogate survives")
            << QString(QChar(0xD83D)) + u"x"_qs << QString(QChar(0xD83D)) + u"x"_qs;
    }
    void emojiAreRemovedWithOneFollowingSpace() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(EmojiFilter::removeEmoji(input), expected);
    }

    void plainText_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tags become spaces") << "<p>One<br>two</p><p>three</p>"
                                            << "One two three";
        QTest::newRow("blanks collapse and trim") << "  a \t\n\n b  "
                                                  << "a b";
        QTest::newRow("entities decoded after tags") << "&lt;b&gt;bold&lt;/b&gt;"
                                                     << "<b>bold</b>";
        QTest::newRow("nbsp collapses with neighbours") << "a &nbsp; b"
                                                        << "a b";
        QTest::newRow("unterminated tag is text") << "a < b and c"
                                                  << "a < b and c";
        QTest::newRow("empty angle brackets are text") << "a <> b"
                                                       << "a <> b";
        QTest::newRow("tag spans to the first >") << "x<a <b>y"
                                                  << "x y";
    }
    void plainText() {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(MnemonicHTMLParser::text(html), expected);
    }

    void markdown_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bold and italic")
            << "<p>A <strong>bold</strong> and <EM class=x>soft</EM> <b>word</b></p>"
            << "A **bold** and *soft* **word**";
        QTest::newRow("similar tag names are not emphasis") << "<body>x</body><img src=a.png><br/>y"
                                                            << "x\ny";
        QTest::newRow("two list items") << "<ul><li>First</li><li>Second</li></ul>"
                                        << "- First\n- Second";
        QTest::newRow("small headings") << "<h4>Why</h4><p>Because</p>"
                                        << "**Why**\n\nBecause";
        QTest::newRow("table row without trailing dash")
            << "<table><tr><td>A</td><td>B</td></tr></table>" << QString::fromUtf8("A — B");
        QTest::newRow("table rows on their own lines")
            << "<table>\n<tr><th>Term</th><th>Meaning</th></tr>\n<tr><td>ATP</td><td>energy</td></tr>\n</"
               "table>"
            << QString::fromUtf8("Term — Meaning\nATP — energy");
        QTest::newRow("paragraphs and divs separate, at most one empty line")
            << "<div><p>One</p></div>\n\n\n<div><div>Two</div></div>"
            << "One\n\nTwo";
        QTest::newRow("line breaks, spaced tags") << "a<br>b< br / >c"
                                                  << "a\nb\nc";
        QTest::newRow("closing tags with attributes are just spaces") << "a</p class=x>b"
                                                                      << "a b";
        QTest::newRow("other tags become a space") << "H<sub>2</sub>O"
                                                   << "H 2 O";
        QTest::newRow("blanks at line starts go, entity spaces collapse") << "<p>\t x &nbsp; y </p>"
                                                                          << "x y";
        QTest::newRow("encoded markup stays text") << "&lt;b&gt;not bold&lt;/b&gt;"
                                                   << "<b>not bold</b>";
    }
    void markdown() {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(MnemonicHTMLParser::markdown(html), expected);
    }
};

QTEST_GUILESS_MAIN(MnemonicTextConversionTest)
#include "MnemonicTextConversionTest.moc"
