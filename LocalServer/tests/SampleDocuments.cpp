#include "SampleDocuments.h"

#include "ZipBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <zlib.h>

namespace SampleDocuments {
namespace {

QByteArray escape(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

QByteArray pdf(const QStringList& pages, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(title);
    QPainter painter(&writer);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        QTextDocument document;
        document.setPageSize(QSizeF(writer.width(), writer.height()));
        QFont font = document.defaultFont();
        font.setPointSize(11);
        document.setDefaultFont(font);
        document.setPlainText(pages[i]);
        document.drawContents(&painter);
    }
    painter.end();
    return buffer.data();
}

QByteArray encryptedPdf(const QByteArray& pdf) {
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain.pdf"));
    if (!plain.open(QIODevice::WriteOnly) || plain.write(pdf) != pdf.size())
        return {};
    plain.close();
    QProcess qpdf;
    qpdf.start("qpdf", {"--encrypt", "reader-secret", "owner-secret", "256", "--", plain.fileName(),
                        dir.filePath("locked.pdf")});
    if (!qpdf.waitForFinished() || qpdf.exitCode() != 0)
        return {};
    QFile locked(dir.filePath("locked.pdf"));
    return locked.open(QIODevice::ReadOnly) ? locked.readAll() : QByteArray();
}

QByteArray zip(const QList<QPair<QString, QByteArray>>& members, bool deflate) {
    ZipBuilder builder;
    for (const auto& [name, data] : members)
        builder.add(deflate ? ZipBuilder::deflated(name, data, Z_BEST_COMPRESSION)
                            : ZipBuilder::stored(name, data));
    return builder.bytes();
}

DocumentText extracted(const QTemporaryDir& dir, const QByteArray& bytes, const QString& filename,
                       const QString& contentType) {
    const QString path = dir.filePath(filename);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    return DocumentText::extract(path, filename, contentType);
}

QByteArray docx(const QStringList& paragraphs) {
    QByteArray body;
    for (const QString& paragraph : paragraphs)
        body += "<w:p><w:r><w:t xml:space=\"preserve\">" + escape(paragraph) + "</w:t></w:r></w:p>";
    const QByteArray document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
        body + "</w:body></w:document>";
    const QByteArray types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Override "
        "PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></"
        "Types>";
    return zip({{"[Content_Types].xml", types}, {"word/document.xml", document}}, true);
}

QByteArray pptx(const QStringList& slides) {
    QList<QPair<QString, QByteArray>> members;
    for (qsizetype i = slides.size() - 1; i >= 0; --i) {
        members.append(
            {QStringLiteral("ppt/slides/slide%1.xml").arg(i + 1),
             "<p:sld xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
             "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><p:cSld><p:spTree><p:sp>"
             "<p:txBody><a:p><a:r><a:t>" +
                 escape(slides[i]) + "</a:t></a:r></a:p></p:txBody></p:sp></p:spTree></p:cSld></p:sld>"});
    }
    return zip(members, true);
}

} // namespace SampleDocuments
