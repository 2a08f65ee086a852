#include "MnemonicHTMLParser.h"

#include "CardBlockBuilder.h"
#include "EmojiFilter.h"
#include "HTMLScanner.h"
#include "HTMLSectionSplitter.h"
#include "HTMLTextConverter.h"
#include "TipLeadIn.h"

#include <QRegularExpression>

namespace {

const QLatin1StringView h3("h3");

MnemonicAccent accentOf(QStringView openingTag) {
    static const QRegularExpression background(
        QStringLiteral("background(?:-color)?\\s*:\\s*#?([0-9A-Fa-f]{6})"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = background.match(openingTag);
    return match.hasMatch() ? mnemonicAccentForBackground(match.capturedView(1)) : MnemonicAccent::neutral;
}

bool isWrapper(const QList<HTMLSectionSplitter::Section>& sections) {
    if (sections.size() != 1)
        return false;
    const QStringView inner = sections.front().inner;
    const qsizetype first = inner.indexOf(u"<h3", 0, Qt::CaseInsensitive);
    return first >= 0 && inner.indexOf(u"<h3", first + 1, Qt::CaseInsensitive) >= 0;
}

std::optional<QString> summaryFrom(const QString& sectionText) {
    static const QRegularExpression preamble(QStringLiteral("^how to use these mnemonics[:\\-\\s]*"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString summary = QString(sectionText).remove(preamble).trimmed();
    return summary.isEmpty() ? std::nullopt : std::optional(summary);
}

std::optional<Card> cardFrom(const HTMLSectionSplitter::Section& section, const QString& sectionText) {
    Card card;
    QString content = section.inner.toString();
    const HTMLScanner scanner(section.inner);
    if (const HTMLScanner::Range open = scanner.firstOpeningTag(0, h3); open.isValid()) {
        if (const HTMLScanner::Range close = scanner.firstClose(open.end, h3); close.isValid()) {
            card.title = HTMLTextConverter::plainText(section.inner.mid(open.end, close.start - open.end));
            content.remove(open.start, close.end - open.start);
        }
    }
    card.accent = accentOf(section.openingTag);
    if (card.accent == MnemonicAccent::yellow || TipLeadIn::opens(sectionText.toLower())) {
        card.accent = MnemonicAccent::yellow;
        const QString tip =
            TipLeadIn::remove(HTMLTextConverter::markdown(HTMLTextConverter::dropBlockTags(content)));
        if (!tip.isEmpty())
            card.blocks.append(CardBlock::markdown(tip));
    } else {
        card.blocks = CardBlockBuilder::blocks(content);
    }
    if (card.title.isEmpty() && card.blocks.isEmpty())
        return std::nullopt;
    return card;
}

} // namespace

ParsedMnemonicGuide MnemonicHTMLParser::parse(QStringView html) {
    const QString cleaned = EmojiFilter::removeEmoji(html);
    QList<HTMLSectionSplitter::Section> sections = HTMLSectionSplitter::split(cleaned);
    if (isWrapper(sections))
        sections = HTMLSectionSplitter::split(sections.front().inner);

    ParsedMnemonicGuide guide;
    bool summaryExamined = false;
    for (const HTMLSectionSplitter::Section& section : sections) {
        const QString sectionText = HTMLTextConverter::plainText(section.inner);
        if (!summaryExamined && sectionText.contains(u"how to use", Qt::CaseInsensitive)) {
            summaryExamined = true;
            guide.summary = summaryFrom(sectionText);
            continue;
        }
        if (std::optional<Card> card = cardFrom(section, sectionText))
            guide.cards.append(*card);
    }
    return guide;
}

QString MnemonicHTMLParser::text(QStringView html) {
    return HTMLTextConverter::plainText(html);
}

QString MnemonicHTMLParser::markdown(QStringView html) {
    return HTMLTextConverter::markdown(html);
}
