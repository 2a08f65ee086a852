#include "Mnemonics/MnemonicGuideWriter.h"

#include <iterator>

namespace {

const char* const cardAccents[] = {"#FFF3E0", "#E8F5E9", "#E3F2FD", "#F3E5F5"};
constexpr auto tipAccent = "#FFF9C4";

QString section(const QString& background, const QString& inner) {
    return QStringLiteral("<div style=\"background-color: %1; border-radius: 12px; padding: 16px; "
                          "margin-bottom: 12px;\">%2</div>\n")
        .arg(background, inner);
}

} // namespace

void MnemonicGuideWriter::summary(const QString& text) {
    html_ +=
        QStringLiteral("<div style=\"padding: 8px 16px;\"><p><strong>How to use these mnemonics:</strong> "
                       "%1</p></div>\n")
            .arg(escape(text));
}

void MnemonicGuideWriter::card(const QString& title, const QString& body) {
    const QString accent = QString::fromLatin1(cardAccents[cards_++ % std::size(cardAccents)]);
    html_ += section(accent, QStringLiteral("<h3>%1</h3>").arg(escape(title)) + body);
}

void MnemonicGuideWriter::tip(const QString& text) {
    html_ += section(QString::fromLatin1(tipAccent), paragraph(QStringLiteral("Tip: ") + text));
}

QString MnemonicGuideWriter::escape(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            escaped += QStringLiteral("&amp;");
            break;
        case '<':
            escaped += QStringLiteral("&lt;");
            break;
        case '>':
            escaped += QStringLiteral("&gt;");
            break;
        case '"':
            escaped += QStringLiteral("&quot;");
            break;
        case '\'':
            escaped += QStringLiteral("&#39;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString MnemonicGuideWriter::paragraph(const QString& text) {
    return QStringLiteral("<p>%1</p>").arg(escape(text));
}

QString MnemonicGuideWriter::strongParagraph(const QString& text) {
    return QStringLiteral("<p><strong>%1</strong></p>").arg(escape(text));
}

QString MnemonicGuideWriter::lines(const QStringList& lines) {
    QStringList escaped;
    for (const QString& line : lines)
        escaped.append(escape(line));
    return QStringLiteral("<p>%1</p>").arg(escaped.join(QStringLiteral("<br>")));
}

QString MnemonicGuideWriter::grid(const QList<QPair<QString, QString>>& pairs) {
    QString cells;
    for (const auto& [label, value] : pairs)
        cells +=
            QStringLiteral("<div><strong>%1</strong></div><div>%2</div>").arg(escape(label), escape(value));
    return QStringLiteral(
               "<div style=\"display: grid; grid-template-columns: repeat(2, 1fr); gap: 8px;\">%1</div>")
        .arg(cells);
}

QString MnemonicGuideWriter::table(const QStringList& header, const QList<QStringList>& rows) {
    QString html = QStringLiteral("<table><tr>");
    for (const QString& cell : header)
        html += QStringLiteral("<th>%1</th>").arg(escape(cell));
    html += QStringLiteral("</tr>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row)
            html += QStringLiteral("<td>%1</td>").arg(escape(cell));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}
