#include "Mnemonics/MnemonicContent.h"

#include "MnemonicHTMLParser.h"
#include "Mnemonics/MnemonicCardModel.h"

#include <QRegularExpression>

MnemonicContent::MnemonicContent(QObject* parent) : QObject(parent) {}

void MnemonicContent::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    guide_ = guide(text_);
    // The screen may still hold the old cards until it rebuilds.
    for (QObject* card : std::as_const(cards_))
        card->deleteLater();
    cards_.clear();
    if (guide_) {
        for (const Card& card : std::as_const(guide_->cards))
            cards_ << new MnemonicCardModel(card, this);
    }
    markdown_.setMarkdown(guide_ ? QString() : fallbackMarkdown(text_));
    Q_EMIT textChanged();
}

std::optional<ParsedMnemonicGuide> MnemonicContent::guide(QStringView text) {
    ParsedMnemonicGuide parsed = MnemonicHTMLParser::parse(text);
    if (parsed.cards.isEmpty())
        return std::nullopt;
    return parsed;
}

QString MnemonicContent::fallbackMarkdown(QStringView text) {
    static const QRegularExpression tag(QStringLiteral("</?[A-Za-z][^>]*>"));
    if (tag.match(text).hasMatch())
        return MnemonicHTMLParser::markdown(text);
    return text.trimmed().toString();
}
