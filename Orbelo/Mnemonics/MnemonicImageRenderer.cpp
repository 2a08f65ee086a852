#include "Mnemonics/MnemonicImageRenderer.h"

#include "Mnemonics/MnemonicAccentStyle.h"
#include "Mnemonics/MnemonicContent.h"
#include "Text/InlineMarkdown.h"
#include "Text/MarkdownBlock.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr qreal margin = 48;
constexpr qreal gap = 24;
constexpr qreal cardPadding = 28;
constexpr qreal radius = 20;
constexpr qreal footerHeight = 104;
constexpr int bodyPixelSize = 24;
const QColor pageColor(0xF7, 0xF7, 0xFB);
const QColor inkColor(0x1C, 0x1B, 0x29);

// Laid-out rich text, painted in one colour.
struct TextBox {
    std::unique_ptr<QTextDocument> document;
    QColor color;

    TextBox(const QString& html, qreal width, QColor color, int pixelSize = bodyPixelSize)
        : document(std::make_unique<QTextDocument>()), color(color) {
        QFont font;
        font.setPixelSize(pixelSize);
        document->setDefaultFont(font);
        document->setDocumentMargin(0);
        document->setHtml(html);
        document->setTextWidth(width);
    }
    qreal height() const { return document->size().height(); }
    void paint(QPainter& painter, QPointF at) const {
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, color);
        context.palette.setColor(QPalette::Link, color);
        painter.save();
        painter.translate(at);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
};

QString paragraph(const QString& styledText, const QString& style = {}) {
    return QStringLiteral("<p style=\"margin-top:0; margin-bottom:10px;%1\">%2</p>").arg(style, styledText);
}

QString markdownHtml(const QString& markdown) {
    QString html;
    for (const MarkdownBlock& block : MarkdownBlock::parse(markdown)) {
        const QString text = InlineMarkdown::styledText(block.text);
        const QString indent = QStringLiteral(" margin-left:%1px;").arg(block.level * 24);
        switch (block.kind) {
        case MarkdownBlock::Kind::heading:
            html +=
                paragraph(text, QStringLiteral(" font-weight:600; font-size:%1px;").arg(bodyPixelSize + 2));
            break;
        case MarkdownBlock::Kind::bullet:
            html += paragraph(QStringLiteral("\u2022&nbsp;") + text, indent);
            break;
        case MarkdownBlock::Kind::ordered:
            html += paragraph(block.number + QStringLiteral(".&nbsp;") + text, indent);
            break;
        case MarkdownBlock::Kind::paragraph:
            html += paragraph(text);
            break;
        }
    }
    return html;
}

QString gridHtml(const CardBlock& block, const QColor& border) {
    const int columns = std::max<int>(1, block.columns);
    QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"10\" border=\"1\" "
                                  "style=\"border-color:%1; border-style:solid; margin-bottom:12px\">")
                       .arg(border.name());
    for (const QStringList& row : block.rows) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row)
            html += QStringLiteral("<td width=\"%1%\">%2</td>").arg(100 / columns).arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString cardHtml(const Card& card, const QColor& border) {
    QString html;
    if (!card.title.isEmpty())
        html += QStringLiteral(
                    "<p style=\"margin-top:0; margin-bottom:14px; font-size:30px; font-weight:bold\">%1</p>")
                    .arg(card.title.toHtmlEscaped());
    for (const CardBlock& block : card.blocks)
        html += block.kind == CardBlock::Kind::grid ? gridHtml(block, border) : markdownHtml(block.text);
    return html;
}

// A rounded card in an accent's colours with its text inside.
struct CardBox {
    MnemonicAccentStyle::Colors colors;
    TextBox text;

    CardBox(MnemonicAccent accent, const QString& html, qreal width)
        : colors(MnemonicAccentStyle::colors(accent, false)),
          text(html, width - cardPadding * 2, colors.text) {}
    qreal height() const { return text.height() + cardPadding * 2; }
    void paint(QPainter& painter, const QRectF& rect) const {
        QPainterPath outline;
        outline.addRoundedRect(rect, radius, radius);
        painter.fillPath(outline, colors.background);
        painter.save();
        painter.setClipPath(outline);
        painter.fillRect(QRectF(rect.left(), rect.top(), 8, rect.height()), colors.accent);
        painter.restore();
        painter.setPen(QPen(colors.accent, 2));
        painter.drawPath(outline);
        text.paint(painter, rect.topLeft() + QPointF(cardPadding, cardPadding));
    }
};

struct Placed {
    const CardBox* box;
    QRectF rect;
};

} // namespace

QImage MnemonicImageRenderer::render(const QString& mnemonicText, const QString& title, Options options) {
    if (options.width <= 0 || !(options.devicePixelRatio > 0))
        return {};
    const qreal width = options.width;
    const qreal contentWidth = width - margin * 2;
    if (contentWidth <= 0)
        return {};

    const TextBox headerLabel(QStringLiteral("<b>%1</b>").arg(headerText.toUpper().toHtmlEscaped()),
                              contentWidth, QColor(255, 255, 255, 210), 22);
    const TextBox headerTitle(QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()), contentWidth, Qt::white,
                              44);
    const qreal headerHeight =
        margin + headerLabel.height() + (title.isEmpty() ? 0 : 10 + headerTitle.height()) + margin;

    // The body: the tip over the cards, or the plain text in one card.
    std::vector<std::unique_ptr<CardBox>> boxes;
    std::vector<Placed> placed;
    qreal y = headerHeight + margin;
    const std::optional<ParsedMnemonicGuide> guide = MnemonicContent::guide(mnemonicText);
    const auto placeFullWidth = [&](std::unique_ptr<CardBox> box) {
        placed.push_back({box.get(), QRectF(margin, y, contentWidth, box->height())});
        y += box->height() + gap;
        boxes.push_back(std::move(box));
    };
    if (guide) {
        if (guide->summary && !guide->summary->isEmpty())
            placeFullWidth(std::make_unique<CardBox>(
                MnemonicAccent::yellow,
                paragraph(QStringLiteral("<b>Tip:</b> ") + guide->summary->toHtmlEscaped()), contentWidth));
        const int columns = contentWidth >= 600 ? 2 : 1;
        const qreal columnWidth = (contentWidth - gap * (columns - 1)) / columns;
        for (qsizetype first = 0; first < guide->cards.size(); first += columns) {
            // Cards of one row share its height.
            const qsizetype end = std::min<qsizetype>(first + columns, guide->cards.size());
            std::vector<const CardBox*> row;
            qreal rowHeight = 0;
            for (qsizetype i = first; i < end; ++i) {
                const Card& card = guide->cards.at(i);
                const QColor border = MnemonicAccentStyle::colors(card.accent, false).accent;
                boxes.push_back(std::make_unique<CardBox>(card.accent, cardHtml(card, border), columnWidth));
                row.push_back(boxes.back().get());
                rowHeight = std::max(rowHeight, row.back()->height());
            }
            for (size_t column = 0; column < row.size(); ++column)
                placed.push_back({row[column], QRectF(margin + qreal(column) * (columnWidth + gap), y,
                                                      columnWidth, rowHeight)});
            y += rowHeight + gap;
        }
    } else {
        placeFullWidth(std::make_unique<CardBox>(
            MnemonicAccent::neutral, markdownHtml(MnemonicContent::fallbackMarkdown(mnemonicText)),
            contentWidth));
    }
    const qreal height = y - gap + margin + footerHeight;

    const qreal pixelWidth = std::ceil(width * options.devicePixelRatio);
    const qreal pixelHeight = std::ceil(height * options.devicePixelRatio);
    if (pixelWidth * pixelHeight * 4 > qreal(std::numeric_limits<int>::max()) ||
        pixelWidth > std::numeric_limits<int>::max() || pixelHeight > std::numeric_limits<int>::max())
        return {};
    QImage image(int(pixelWidth), int(pixelHeight), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(options.devicePixelRatio);
    image.fill(pageColor);

    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, width, headerHeight), headerColor);
    headerLabel.paint(painter, QPointF(margin, margin));
    if (!title.isEmpty())
        headerTitle.paint(painter, QPointF(margin, margin + headerLabel.height() + 10));

    for (const Placed& card : placed)
        card.box->paint(painter, card.rect);

    const QRectF footer(0, height - footerHeight, width, footerHeight);
    painter.fillRect(footer, footerColor);
    painter.setPen(QPen(QColor(0xE3, 0xE3, 0xEC), 2));
    painter.drawLine(footer.topLeft(), footer.topRight());
    QFont nameFont;
    nameFont.setPixelSize(30);
    nameFont.setBold(true);
    painter.setFont(nameFont);
    painter.setPen(headerColor);
    painter.drawText(footer.adjusted(margin, 0, -margin, 0), Qt::AlignLeft | Qt::AlignVCenter, appName);
    QFont noteFont;
    noteFont.setPixelSize(24);
    painter.setFont(noteFont);
    painter.setPen(inkColor);
    painter.drawText(footer.adjusted(margin, 0, -margin, 0), Qt::AlignRight | Qt::AlignVCenter, footerText);
    painter.end();
    return image;
}
