#include "Http/MultipartForm.h"

#include <QRegularExpression>

namespace {
QString attribute(const QString& disposition, const QString& name) {
    const QRegularExpression pattern(";\\s*" + name + "=\"([^\"]*)\"");
    return pattern.match(disposition).captured(1);
}
} // namespace

std::optional<MultipartForm> MultipartForm::parse(const QByteArray& body, const QByteArray& contentType) {
    const qsizetype at = contentType.indexOf("boundary=");
    if (!contentType.startsWith("multipart/form-data") || at < 0)
        return std::nullopt;
    QByteArray boundary = contentType.mid(at + 9).split(';').first().trimmed();
    if (boundary.startsWith('"') && boundary.endsWith('"'))
        boundary = boundary.mid(1, boundary.size() - 2);
    const QByteArray delimiter = "--" + boundary;
    MultipartForm form;
    qsizetype position = body.indexOf(delimiter);
    if (position < 0)
        return std::nullopt;
    for (;;) {
        position += delimiter.size();
        if (body.mid(position, 2) == "--")
            return form; // closing delimiter
        if (body.mid(position, 2) != "\r\n")
            return std::nullopt;
        position += 2;
        const qsizetype headersEnd = body.indexOf("\r\n\r\n", position);
        const qsizetype next = body.indexOf("\r\n" + delimiter, position);
        if (headersEnd < 0 || next < 0 || headersEnd > next)
            return std::nullopt;
        QString disposition, partType;
        for (const QByteArray& line : body.mid(position, headersEnd - position).split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.toLower().startsWith("content-disposition:"))
                disposition = QString::fromUtf8(trimmed.mid(20).trimmed());
            else if (trimmed.toLower().startsWith("content-type:"))
                partType = QString::fromUtf8(trimmed.mid(13).trimmed());
        }
        const QByteArray data = body.mid(headersEnd + 4, next - headersEnd - 4);
        const QString name = attribute(disposition, "name");
        if (disposition.contains("filename=\"")) {
            if (!form.file)
                form.file = File{name, attribute(disposition, "filename"), partType, data};
        } else {
            form.fields.insert(name, QString::fromUtf8(data));
        }
        position = next + 2;
    }
}
