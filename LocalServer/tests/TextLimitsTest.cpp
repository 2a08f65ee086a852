#include "Documents/DocumentText.h"
#include "Documents/RtfText.h"
#include "SampleDocuments.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using RtfError = RtfText::Error;

// The limits of the text readers: RTF nesting and control words refused past their limit, and
// every format's text cut at DocumentText::maxTextChars and marked truncated.
class TextLimitsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    DocumentText extract(const QByteArray& bytes, const QString& filename) {
        return SampleDocuments::extracted(dir, bytes, filename);
    }

    // Random lowercase letters, which compress like prose rather than like a bomb.
    static QString letters(qsizetype size, quint32 seed) {
        QList<quint32> random(size);
        QRandomGenerator(seed).fillRange(random.data(), random.size());
        QString out(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            out[i] = QChar('a' + random[i] % 26);
        return out;
    }

    // A PDF of `pages` pages sharing one content stream, small however many pages it has.
    static QByteArray pdfOfPages(int pages) {
        QList<QByteArray> objects{
            "<< /Type /Catalog /Pages 2 0 R >>",
            {},
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
            "<< /Length 40 >>\nstream\nBT /F1 12 Tf 72 720 Td (Same page) Tj ET\nendstream"};
        QByteArray kids;
        for (int page = 0; page < pages; ++page) {
            kids += QByteArray::number(objects.size() + 1) + " 0 R ";
            objects.append(
                "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R "
                ">> >> /Contents 4 0 R >>");
        }
        objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages) + " >>";
        QByteArray out = "%PDF-1.4\n";
        QByteArray xref = "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
        for (qsizetype i = 0; i < objects.size(); ++i) {
            xref += QByteArray::number(out.size()).rightJustified(10, '0') + " 00000 n \n";
            out += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
        }
        const QByteArray start = QByteArray::number(out.size());
        return out + xref + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
               " /Root 1 0 R >>\nstartxref\n" + start + "\n%%EOF\n";
    }

    static QByteArray nested(int depth) { return QByteArray(depth, '{') + "text" + QByteArray(depth, '}'); }

private slots:
    void rtfLimits_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<RtfError>("error");
        QTest::addColumn<QString>("text");
        const int depth = RtfText::maxDepth;
        const int word = RtfText::maxControlWordLength;
        const int digits = RtfText::maxParameterLength;
        QTest::newRow("nesting at the limit") << nested(depth) << RtfError::none << "text";
        QTest::newRow("nesting one past") << nested(depth + 1) << RtfError::tooDeep << "";
        QTest::newRow("deep nesting") << nested(100000) << RtfError::tooDeep << "";
        QTest::newRow("closed groups do not count")
            << nested(depth).repeated(3) << RtfError::none << "texttexttext";
        QTest::newRow("control word at the limit")
            << "{a\\" + QByteArray(word, 'x') + " b}" << RtfError::none << "ab";
        QTest::newRow("control word one past")
            << "{a\\" + QByteArray(word + 1, 'x') + " b}" << RtfError::controlWordTooLong << "a";
        QTest::newRow("parameter at the limit")
            << "{a\\x-" + QByteArray(digits, '9') + " b}" << RtfError::none << "ab";
        QTest::newRow("parameter one past")
            << "{a\\x" + QByteArray(digits + 1, '9') + " b}" << RtfError::controlWordTooLong << "a";
    }

    void rtfLimits() {
        QFETCH(QByteArray, rtf);
        QFETCH(RtfError, error);
        QFETCH(QString, text);
        const RtfText result = RtfText::extract(rtf, 100);
        QCOMPARE(result.error, error);
        QCOMPARE(result.text, text);
    }

    void rtfOutputIsCut_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("truncated");
        QTest::newRow("at the limit") << QByteArray("{\\rtf1 abcdefghij}") << false;
        QTest::newRow("one past") << QByteArray("{\\rtf1 abcdefghijk}") << true;
        QTest::newRow("one past by a paragraph") << QByteArray("{\\rtf1 abcdefghij\\par}") << true;
    }

    void rtfOutputIsCut() {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, truncated);
        const RtfText result = RtfText::extract(rtf, 10);
        QCOMPARE(result.error, RtfError::none);
        QCOMPARE(result.text, "abcdefghij");
        QCOMPARE(result.truncated, truncated);
    }

    void rtfBeyondALimitFails_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nesting") << "{\\rtf1" + nested(RtfText::maxDepth) + "}"
                                 << "The RTF document nests groups more than 128 deep; it was not read.";
        QTest::newRow("control word")
            << "{\\rtf1 a\\" + QByteArray(RtfText::maxControlWordLength + 1, 'b') + "}"
            << "The RTF document has a control word longer than 32 letters; it was not read.";
    }

    void rtfBeyondALimitFails() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, reason);
        const DocumentText result = extract(rtf, "hostile.rtf");
        QCOMPARE(result.fileType, "rtf");
        QCOMPARE(result.error, reason);
    }

    // The same text in each format: the limit's worth of letters, or one more.
    void textIsCutAtTheLimit_data() {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<qsizetype>("extra");
        const qsizetype limit = DocumentText::maxTextChars;
        for (const QString& filename : {"long.txt", "long.rtf", "long.docx", "long.pptx"}) {
            QTest::addRow("%s at the limit", qPrintable(filename)) << filename << qsizetype(0);
            QTest::addRow("%s one past", qPrintable(filename)) << filename << qsizetype(1);
        }
        QTest::addRow("long.txt far past") << "long.txt" << 3 * limit;
    }

    void textIsCutAtTheLimit() {
        QFETCH(QString, filename);
        QFETCH(qsizetype, extra);
        // Two paragraphs, so that the slides and paragraphs of the Office formats are cut too.
        const qsizetype half = DocumentText::maxTextChars / 2;
        const QString first = letters(half - 1, 1), second = letters(half - 1 + extra, 2);
        QByteArray bytes;
        if (filename.endsWith(".txt"))
            bytes = (first + "\n\n" + second).toUtf8();
        else if (filename.endsWith(".rtf"))
            bytes = "{\\rtf1 " + first.toLatin1() + "\\par\\par " + second.toLatin1() + "}";
        else if (filename.endsWith(".docx"))
            bytes = SampleDocuments::docx({first, "", second});
        else
            bytes = SampleDocuments::pptx({first, second});
        const DocumentText result = extract(bytes, filename);
        QCOMPARE(result.error, "");
        QCOMPARE(result.text.size(), DocumentText::maxTextChars);
        QCOMPARE(result.truncated, extra > 0);
        QVERIFY(result.text.startsWith(first + "\n\n" + second.left(3)));
    }

    void pdfPagesAreCut_data() {
        QTest::addColumn<int>("pages");
        QTest::newRow("at the limit") << DocumentText::maxPdfPages;
        QTest::newRow("one past") << DocumentText::maxPdfPages + 1;
    }

    void pdfPagesAreCut() {
        QFETCH(int, pages);
        const DocumentText result = extract(pdfOfPages(pages), "pages.pdf");
        QCOMPARE(result.error, "");
        QCOMPARE(result.text.count("Same page"), std::min(pages, DocumentText::maxPdfPages));
        QCOMPARE(result.truncated, pages > DocumentText::maxPdfPages);
    }

    void cutKeepsSurrogatePairsWhole() {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x93\x9A"); // two UTF-16 code units
        const QString text = QString(DocumentText::maxTextChars - 1, 'a') + emoji;
        const DocumentText result = extract(text.toUtf8(), "emoji.txt");
        QVERIFY(result.truncated);
        QCOMPARE(result.text.size(), DocumentText::maxTextChars - 1);
        QVERIFY(!result.text.back().isSurrogate());
    }
};

QTEST_MAIN(TextLimitsTest)
#include "TextLimitsTest.moc"
