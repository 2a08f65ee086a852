#include "Documents/DocumentText.h"
#include "Documents/ZipArchive.h"
#include "SampleDocuments.h"
#include "Terms/TextChunker.h"

#include <QTemporaryDir>
#include <QTest>

// Text extraction from each supported format, and refusal of files that hold no readable text.
class DocumentTextTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    DocumentText extract(const QByteArray& bytes, const QString& filename, const QString& contentType = {}) {
        return SampleDocuments::extracted(dir, bytes, filename, contentType);
    }

private slots:
    void pdfTextAndTitle() {
        const auto result =
            extract(SampleDocuments::pdf({"Photosynthesis converts light energy.", "Second page text."},
                                         "Plant Biology"),
                    "notes.pdf");
        QCOMPARE(result.fileType, "pdf");
        QVERIFY2(result.text.contains("Photosynthesis converts light energy."), qPrintable(result.text));
        QVERIFY(result.text.contains("Second page text."));
        QCOMPARE(result.title, "Plant Biology");
        const auto lines =
            extract(SampleDocuments::pdf({"Instructor: Dr. Ada\nMeets: Monday\nRoom: 12"}), "lines.pdf");
        QCOMPARE(lines.text, "Instructor: Dr. Ada\nMeets: Monday\nRoom: 12");
    }

    void docxParagraphsDeflatedOrStored() {
        const auto deflated =
            extract(SampleDocuments::docx({"Mitosis & meiosis", "Cells divide."}), "cells.docx");
        QCOMPARE(deflated.fileType, "docx");
        QCOMPARE(deflated.text, "Mitosis & meiosis\nCells divide.");
        const QByteArray document =
            "<w:document xmlns:w=\"w\"><w:body><w:p><w:r><w:t>Stored</w:t></w:r><w:r><w:tab/>"
            "<w:t>member</w:t></w:r></w:p></w:body></w:document>";
        const auto stored =
            extract(SampleDocuments::zip({{"word/document.xml", document}}, false), "stored.docx");
        QCOMPARE(stored.text, "Stored\tmember");
    }

    void pptxSlidesInNumericOrder() {
        QStringList slides;
        for (int i = 1; i <= 11; ++i)
            slides.append(QStringLiteral("Slide number %1").arg(i));
        const auto result = extract(SampleDocuments::pptx(slides), "deck.pptx");
        QCOMPARE(result.fileType, "pptx");
        QVERIFY(result.text.startsWith("Slide number 1\n"));
        QVERIFY(result.text.indexOf("Slide number 2\n") < result.text.indexOf("Slide number 10"));
        QVERIFY(result.text.endsWith("Slide number 11"));
    }

    void rtfKeepsTextAndDropsDestinations() {
        const QByteArray rtf =
            R"({\rtf1\ansi{\fonttbl{\f0 Times New Roman;}}{\*\generator Writer;}\f0 Caf\'e9 \b bold\b0\par
Em\u8212?dash and \{braces\}\par})";
        const auto result = extract(rtf, "note.rtf");
        QCOMPARE(result.fileType, "rtf");
        QCOMPARE(result.text, QString::fromUtf8("Café bold\nEm—dash and {braces}"));
    }

    void plainTextFallsBackToLatin1() {
        QCOMPARE(extract("caf\xe9\r\nline two", "latin.txt").text, QString::fromUtf8("café\nline two"));
        QCOMPARE(extract("ünïcode", "utf8.md").text, QString::fromUtf8("ünïcode"));
    }

    void unreadableFilesFailWithAReason() {
        const auto damagedPdf = extract("%PDF-1.4 this is not really a pdf", "broken.pdf");
        QVERIFY(!damagedPdf.error.isEmpty());
        const auto notOffice = extract(SampleDocuments::zip({{"readme.txt", "hello"}}, true), "archive.docx");
        QCOMPARE(notOffice.error, "The file is not a readable Word or PowerPoint document.");
        const auto truncated = extract(SampleDocuments::docx({"text"}).left(40), "cut.docx");
        QVERIFY(!truncated.error.isEmpty());
        const auto spreadsheet = extract("a,b,c", "table.xlsb", "application/vnd.ms-excel");
        QVERIFY(spreadsheet.fileType.isEmpty());
        QVERIFY(!spreadsheet.error.isEmpty());
        const auto blankPdf = extract(SampleDocuments::pdf({""}), "blank.pdf");
        QCOMPARE(blankPdf.error, "No text could be found in the document; it may hold only images.");
    }

    void damagedDeflateStreamIsRejected() {
        QByteArray bytes = SampleDocuments::zip({{"word/document.xml", QByteArray(5000, 'x')}}, true);
        bytes[60] = char(bytes[60] ^ 0x55); // inside the deflated data, after the 47-byte local header
        ZipArchive archive = ZipArchive::open(bytes);
        QCOMPARE(archive.error(), ZipArchive::Error::none);
        QVERIFY(!archive.read("word/document.xml"));
        QCOMPARE(archive.error(), ZipArchive::Error::damaged);
    }

    void chunksKeepParagraphsWhole() {
        const QString paragraph = QString("Word ").repeated(100).trimmed() + ".";
        const QStringList chunks = TextChunker::chunks(QStringList(5, paragraph).join("\n\n"), 1200);
        QCOMPARE(chunks.size(), 3);
        for (const QString& chunk : chunks)
            QVERIFY(chunk.size() <= 1200);
        QCOMPARE(TextChunker::sentences("One. Two? \"Three!\" four. 5 items.").size(), 4);
    }
};

QTEST_MAIN(DocumentTextTest)
#include "DocumentTextTest.moc"
