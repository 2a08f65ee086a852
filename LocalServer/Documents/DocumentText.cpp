#include "Documents/DocumentText.h"

#include "Documents/RtfText.h"
#include "Documents/ZipArchive.h"

#include <QDeadlineTimer>
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

// The text of a PDF's first pages with their line breaks, from poppler's pdftotext (QtPdf 6.4
// reports line breaks as plain spaces); nothing when the tool is unavailable or fails. The
// output is read as it comes and the tool stopped once it has written more than `maxBytes`,
// which sets `stopped`.
std::optional<QString> popplerText(const QString& path, int pages, qsizetype maxBytes, bool& stopped) {
    QProcess process;
    process.start("pdftotext", {"-enc", "UTF-8", "-q", "-l", QString::number(pages), path, "-"});
    if (!process.waitForStarted())
        return std::nullopt;
    const QDeadlineTimer deadline(60000);
    QByteArray out;
    while (!stopped && process.waitForReadyRead(int(deadline.remainingTime()))) {
        out += process.readAllStandardOutput();
        stopped = out.size() > maxBytes;
    }
    if (stopped) {
        process.kill();
        process.waitForFinished();
    } else {
        // Waiting for output also returns when the tool has exited.
        if (process.state() != QProcess::NotRunning &&
            !process.waitForFinished(int(deadline.remainingTime())))
            return std::nullopt;
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return std::nullopt;
        out += process.readAllStandardOutput();
    }
    return QString::fromUtf8(out).replace('\f', "\n\n");
}

// The reason a DOCX or PPTX is refused, from why its archive could not be read.
QString archiveFailure(ZipArchive::Error error) {
    switch (error) {
    case ZipArchive::Error::tooManyEntries:
        return QStringLiteral("The document holds more than %1 files; it was not unpacked.")
            .arg(ZipArchive::maxEntries);
    case ZipArchive::Error::overlappingEntries:
        return "The document's files share their data, as in a ZIP bomb; it was not unpacked.";
    case ZipArchive::Error::entryTooLarge:
        return QStringLiteral("A file in the document unpacks to more than %1 MiB; it was not read.")
            .arg(ZipArchive::maxEntryBytes / (1024 * 1024));
    case ZipArchive::Error::archiveTooLarge:
        return QStringLiteral("The document unpacks to more than %1 MiB; it was not read.")
            .arg(ZipArchive::maxTotalBytes / (1024 * 1024));
    case ZipArchive::Error::ratioTooHigh:
        return QStringLiteral(
                   "The document is compressed more than %1 to 1, as in a ZIP bomb; it was not read.")
            .arg(ZipArchive::maxRatio);
    default:
        return "The file is not a readable Word or PowerPoint document.";
    }
}

QString rtfFailure(RtfText::Error error) {
    if (error == RtfText::Error::tooDeep)
        return QStringLiteral("The RTF document nests groups more than %1 deep; it was not read.")
            .arg(RtfText::maxDepth);
    return QStringLiteral("The RTF document has a control word longer than %1 letters; it was not read.")
        .arg(RtfText::maxControlWordLength);
}

// Cuts `text` to `maxChars`, never between the halves of a surrogate pair; tells whether it cut.
bool cut(QString& text, qsizetype maxChars) {
    if (text.size() <= maxChars)
        return false;
    text.truncate(maxChars);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return true;
}

constexpr auto damagedPdf =
    "The PDF is damaged and could not be read. Save or export it again, then upload the new file.";

// A file named or announced as a PDF that does not start like one.
bool claimsPdf(const QString& filename, const QString& contentType) {
    return filename.section('.', -1).compare("pdf", Qt::CaseInsensitive) == 0 ||
           contentType.startsWith("application/pdf");
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

QString DocumentText::officeXmlText(const QByteArray& xml, qsizetype maxChars) {
    QString out;
    // QXmlStreamReader bounds entity expansion itself (entityExpansionLimit).
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && out.size() <= maxChars) {
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
    if (file.size() == 0)
        return failure({}, "The uploaded file is empty.");
    const QByteArray head = file.peek(8);
    const QString type = detectType(head, filename, contentType);
    DocumentText result;
    result.fileType = type;
    if (type.isEmpty() && claimsPdf(filename, contentType))
        return failure("pdf", damagedPdf);
    if (type.isEmpty())
        return failure({}, "Unsupported file type. Upload a PDF, Word, PowerPoint, RTF or text file.");

    if (type == "pdf") {
        file.close();
        QPdfDocument pdf;
        const QPdfDocument::Error error = pdf.load(path);
        if (error == QPdfDocument::Error::IncorrectPassword)
            return failure(type,
                           "The PDF is protected by a password. Remove the password and upload it again.");
        if (error != QPdfDocument::Error::None)
            return failure(type, damagedPdf);
        const int pages = std::min(pdf.pageCount(), maxPdfPages);
        if (const auto text = popplerText(path, pages, maxTextBytes, result.truncated)) {
            result.text = *text;
        } else {
            for (int page = 0; page < pages && result.text.size() <= maxTextChars; ++page)
                result.text += (page > 0 ? "\n\n" : "") + pdf.getAllText(page).text();
        }
        result.truncated = result.truncated || pdf.pageCount() > maxPdfPages;
        result.title = pdf.metaData(QPdfDocument::MetaDataField::Title).toString().trimmed();
    } else if (type == "docx" || type == "pptx") {
        ZipArchive archive = ZipArchive::open(file.readAll());
        if (archive.error() != ZipArchive::Error::none)
            return failure(type, archiveFailure(archive.error()));
        QStringList slides;
        for (const QString& name : archive.names()) {
            if (QRegularExpression(R"(^ppt/slides/slide\d+\.xml$)").match(name).hasMatch())
                slides.append(name);
        }
        if (archive.names().contains("word/document.xml")) {
            result.fileType = "docx";
            const auto document = archive.read("word/document.xml");
            if (!document)
                return failure(type, archiveFailure(archive.error()));
            result.text = officeXmlText(*document);
        } else if (!slides.isEmpty()) {
            result.fileType = "pptx";
            auto number = [](const QString& name) {
                return name.section("slide", -1).section('.', 0, 0).toInt();
            };
            std::sort(slides.begin(), slides.end(),
                      [&](const QString& a, const QString& b) { return number(a) < number(b); });
            for (const QString& slide : slides) {
                if (result.text.size() > maxTextChars)
                    break; // cut below
                const auto xml = archive.read(slide);
                if (!xml)
                    return failure(type, archiveFailure(archive.error()));
                result.text += (slide == slides.first() ? "" : "\n\n") + officeXmlText(*xml);
            }
        } else {
            return failure(type, "The file is not a readable Word or PowerPoint document.");
        }
    } else if (type == "rtf") {
        const RtfText rtf = RtfText::extract(file.readAll(), maxTextChars);
        if (rtf.error != RtfText::Error::none)
            return failure(type, rtfFailure(rtf.error));
        result.text = rtf.text;
        result.truncated = rtf.truncated;
    } else {
        const QByteArray bytes = file.read(maxTextBytes);
        result.truncated = !file.atEnd();
        // A character cut at the end of what was read stays in the decoder, not an error.
        QStringDecoder utf8(QStringDecoder::Utf8);
        result.text = utf8.decode(bytes);
        if (utf8.hasError())
            result.text = QString::fromLatin1(bytes);
    }
    result.text = normalized(result.text);
    result.truncated = cut(result.text, maxTextChars) || result.truncated;
    if (result.text.isEmpty())
        result.error = "No text could be found in the document; it may hold only images.";
    return result;
}
