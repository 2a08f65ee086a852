#include "DocumentText.h"

#include "RtfText.h"
#include "ZipArchive.h"

#include <QFile>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>

namespace {

QString normalized(QString text) {
    text.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0xA0), ' ');
    static const QRegularExpression manyBlankLines("\n{3,}");
    text.replace(manyBlankLines, "\n\n");
    return text.trimmed();
}

// The text of a PDF with its line breaks, from poppler's pdftotext (QtPdf 6.4 reports line
// breaks as plain spaces); nothing when the tool is unavailable or fails.
std::optional<QString> popplerText(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-enc", "UTF-8", "-q", path, "-"});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput()).replace('\f', "\n\n");
}

DocumentText failure(const QString& type, const QString& error) {
    DocumentText result;
    result.fileType = type;
    result.error = error;
    return result;
}

} // namespace

QString DocumentText::detectType(const QByteArray& head, const QString& filename,
                                 const QString& contentType) {
    const QString extension = filename.section('.', -1).toLower();
    if (head.startsWith("%PDF"))
        return "pdf";
    if (head.startsWith("{\\rtf"))
        return "rtf";
    if (head.startsWith("PK\x03\x04")) {
        if (extension == "pptx" || contentType.contains("presentationml"))
            return "pptx";
        return "docx"; // decided by the member found when reading
    }
    if (extension == "txt" || extension == "md" || extension == "text" ||
        contentType.startsWith("text/plain") || contentType.startsWith("text/markdown"))
        return "txt";
    return {};
}

QString DocumentText::officeXmlText(const QByteArray& xml) {
    QString out;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto name = reader.name();
            if (name == u"t")
                out += reader.readElementText();
            else if (name == u"tab")
                out += '\t';
            else if (name == u"br" || name == u"cr")
                out += '\n';
        } else if (reader.isEndElement() && reader.name() == u"p") {
            out += '\n';
        }
    }
    return out;
}

DocumentText DocumentText::extract(const QString& path, const QString& filename, const QString& contentType) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure({}, "The uploaded file is missing.");
    const QByteArray head = file.peek(8);
    const QString type = detectType(head, filename, contentType);
    DocumentText result;
    result.fileType = type;
    if (type.isEmpty())
        return failure({}, "Unsupported file type. Upload a PDF, Word, PowerPoint, RTF or text file.");

    if (type == "pdf") {
        file.close();
        QPdfDocument pdf;
        if (pdf.load(path) != QPdfDocument::Error::None)
            return failure(type, "The PDF could not be opened; it may be damaged or password-protected.");
        if (const auto text = popplerText(path)) {
            result.text = *text;
        } else {
            QStringList pages;
            for (int page = 0; page < pdf.pageCount(); ++page)
                pages.append(pdf.getAllText(page).text());
            result.text = pages.join("\n\n");
        }
        result.title = pdf.metaData(QPdfDocument::MetaDataField::Title).toString().trimmed();
    } else if (type == "docx" || type == "pptx") {
        const auto archive = ZipArchive::open(file.readAll());
        if (!archive)
            return failure(type, "The file is not a readable Word or PowerPoint document.");
        QStringList slides;
        for (const QString& name : archive->names()) {
            if (QRegularExpression(R"(^ppt/slides/slide\d+\.xml$)").match(name).hasMatch())
                slides.append(name);
        }
        if (archive->names().contains("word/document.xml")) {
            result.fileType = "docx";
            result.text = officeXmlText(archive->read("word/document.xml").value_or(QByteArray()));
        } else if (!slides.isEmpty()) {
            result.fileType = "pptx";
            auto number = [](const QString& name) {
                return name.section("slide", -1).section('.', 0, 0).toInt();
            };
            std::sort(slides.begin(), slides.end(),
                      [&](const QString& a, const QString& b) { return number(a) < number(b); });
            QStringList texts;
            for (const QString& slide : slides)
                texts.append(officeXmlText(archive->read(slide).value_or(QByteArray())));
            result.text = texts.join("\n\n");
        } else {
            return failure(type, "The file is not a readable Word or PowerPoint document.");
        }
    } else if (type == "rtf") {
        result.text = RtfText::extract(file.readAll());
    } else {
        const QByteArray bytes = file.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8);
        result.text = utf8.decode(bytes);
        if (utf8.hasError())
            result.text = QString::fromLatin1(bytes);
    }
    result.text = normalized(result.text);
    if (result.text.isEmpty())
        result.error = "No text could be found in the document; it may hold only images.";
    return result;
}
