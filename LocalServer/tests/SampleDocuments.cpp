#include "SampleDocuments.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <zlib.h>

namespace SampleDocuments {
namespace {

void put16(QByteArray& out, quint16 value) {
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value) {
    put16(out, quint16(value & 0xffff));
    put16(out, quint16(value >> 16));
}

QByteArray rawDeflate(const QByteArray& data) {
    QByteArray out(int(compressBound(uLong(data.size()))) + 64, Qt::Uninitialized);
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

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

QByteArray zip(const QList<QPair<QString, QByteArray>>& members, bool deflate) {
    QByteArray out;
    QByteArray directory;
    for (const auto& [name, data] : members) {
        const QByteArray stored = deflate ? rawDeflate(data) : data;
        const quint32 crc =
            quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
        const quint32 offset = quint32(out.size());
        const QByteArray utf8Name = name.toUtf8();
        auto header = [&](QByteArray& target, bool central) {
            put32(target, central ? 0x02014b50 : 0x04034b50);
            if (central)
                put16(target, 20);
            put16(target, 20);
            put16(target, 0);
            put16(target, deflate ? 8 : 0);
            put32(target, 0); // time and date
            put32(target, crc);
            put32(target, quint32(stored.size()));
            put32(target, quint32(data.size()));
            put16(target, quint16(utf8Name.size()));
            put16(target, 0);
            if (central) {
                put16(target, 0);
                put16(target, 0);
                put16(target, 0);
                put32(target, 0);
                put32(target, offset);
            }
            target += utf8Name;
        };
        header(out, false);
        out += stored;
        header(directory, true);
    }
    const quint32 directoryOffset = quint32(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(members.size()));
    put16(out, quint16(members.size()));
    put32(out, quint32(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
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
