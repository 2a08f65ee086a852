#include "Text/InlineMarkdown.h"
#include "Text/HTMLView.h"
#include "Text/MarkdownText.h"

#include <QSignalSpy>
#include <QTest>

class InlineMarkdownTest : public QObject {
    Q_OBJECT

private slots:
    void styledText_data() {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("styled");
        QTest::newRow("plain") << "Just text"
                               << "Just text";
        QTest::newRow("bold and italic") << "A **bold** and *soft* word"
                                         << "A <b>bold</b> and <i>soft</i> word";
        QTest::newRow("nested emphasis") << "***both***"
                                         << "<b><i>both</i></b>";
        QTest::newRow("link") << "See [the sheet](https://example.org/a?b=1&c=2)"
                              << "See <a href=\"https://example.org/a?b=1&amp;c=2\">the sheet</a>";
        QTest::newRow("markup characters are escaped") << "x < y & \"z\""
                                                       << "x &lt; y &amp; &quot;z&quot;";
        QTest::newRow("raw HTML stays text") << "<b>not bold</b>"
                                             << "&lt;b&gt;not bold&lt;/b&gt;";
        QTest::newRow("line breaks kept") << "one\ntwo **2**"
                                          << "one<br>two <b>2</b>";
        QTest::newRow("list marker stays literal") << "- not a list"
                                                   << "- not a list";
        QTest::newRow("numbered start stays literal") << "1984. A year"
                                                      << "1984. A year";
        QTest::newRow("quote and heading markers stay") << "> quoted\n# hash"
                                                        << "&gt; quoted<br># hash";
        QTest::newRow("rule stays literal") << "---"
                                            << "---";
        QTest::newRow("unclosed emphasis stays literal") << "2 * 3 **x"
                                                         << "2 * 3 **x";
        QTest::newRow("images are left out") << "See ![diagram](d.png) here"
                                             << "See  here";
        QTest::newRow("strikethrough") << "~~old~~ new"
                                       << "<s>old</s> new";
    }
    void styledText() {
        QFETCH(QString, markdown);
        QFETCH(QString, styled);
        QCOMPARE(InlineMarkdown::styledText(markdown), styled);
    }

    void longLinesLoseNoText() {
        // Long lines are rendered in pieces; every word and space must survive the cuts.
        const QString words = QStringLiteral(" word").repeated(400);
        QCOMPARE(InlineMarkdown::styledText(u"**a**"_qs + words + u" *z*"_qs),
                 u"<b>a</b>"_qs + words + u" <i>z</i>"_qs);
        const QString letters = QString(2500, u'x') + QString::fromUtf8("\U0001D400");
        QCOMPARE(InlineMarkdown::styledText(letters), letters);
    }

    void markdownTextModel() {
        MarkdownText model;
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(&model, &MarkdownText::markdownChanged);
        model.setMarkdown(u"# Title\n1. **First**\n  - sub [link](https://x.org)\nText"_qs);
        model.setMarkdown(model.markdown());
        QCOMPARE(reset.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.rowCount(), 4);

        auto value = [&](int row, QByteArrayView role) {
            return model.data(model.index(row), model.roleNames().key(role.toByteArray())).toString();
        };
        QCOMPARE(value(0, "kind"), u"heading"_qs);
        QCOMPARE(value(0, "level"), u"1"_qs);
        QCOMPARE(value(1, "kind"), u"ordered"_qs);
        QCOMPARE(value(1, "number"), u"1"_qs);
        QCOMPARE(value(1, "styledText"), u"<b>First</b>"_qs);
        QCOMPARE(value(2, "level"), u"1"_qs);
        QCOMPARE(value(2, "styledText"), u"sub <a href=\"https://x.org\">link</a>"_qs);
        QCOMPARE(value(3, "kind"), u"paragraph"_qs);
        QCOMPARE(value(3, "text"), u"Text"_qs);
        QVERIFY(!model.data(model.index(4), MarkdownText::TextRole).isValid());
    }

    void htmlViewWrapsItsFragment() {
        HTMLView view;
        QSignalSpy changed(&view, &HTMLView::htmlChanged);
        view.setHtml(u"<p>Hi</p>"_qs);
        QCOMPARE(changed.count(), 1);
        QVERIFY(view.page().startsWith(u"<!DOCTYPE html>\n<html>\n<head>"));
        QVERIFY(view.page().contains(u"<style>"));
        QVERIFY(view.page().endsWith(u"<body>\n<p>Hi</p>\n</body>\n</html>"));
        view.setHtml(u"<p>Bye</p>"_qs);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(view.page(), HTMLView::wrap(u"<p>Bye</p>"_qs));
    }
};

QTEST_MAIN(InlineMarkdownTest)
#include "InlineMarkdownTest.moc"
