#pragma once

#include "ParsedMnemonicGuide.h"
#include "Text/MarkdownText.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>

// What a mnemonic's text is shown as: a guide of cards when the text parses into cards, otherwise
// Markdown. A guide without cards (empty, or markup without sections) is shown as its text; markup
// there is turned into Markdown rather than shown as tags.
class MnemonicContent : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool isGuide READ isGuide NOTIFY textChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY textChanged)
    Q_PROPERTY(QList<QObject*> cards READ cards NOTIFY textChanged)
    Q_PROPERTY(QAbstractItemModel* markdown READ markdown CONSTANT)
public:
    explicit MnemonicContent(QObject* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    bool isGuide() const { return guide_.has_value(); }
    QString summary() const { return guide_ ? guide_->summary.value_or(QString()) : QString(); }
    QList<QObject*> cards() const { return cards_; }
    // The text as Markdown blocks; empty while the text is a guide.
    QAbstractItemModel* markdown() { return &markdown_; }

    // The guide in `text`, when it has at least one card.
    static std::optional<ParsedMnemonicGuide> guide(QStringView text);
    // The Markdown form of a text that is not a guide.
    static QString fallbackMarkdown(QStringView text);

Q_SIGNALS:
    void textChanged();

private:
    QString text_;
    std::optional<ParsedMnemonicGuide> guide_;
    QList<QObject*> cards_;
    MarkdownText markdown_;
};
