#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Writes a mnemonic guide as the app reads it: top-level div sections, first the "How to use
// these mnemonics" section (the app's summary), then cards with an h3 title on the background of
// their accent (orange, green, blue, purple in turn), and a yellow tip last. Every text given is
// plain text and escaped here; only the block helpers' output is markup.
class MnemonicGuideWriter {
public:
    void summary(const QString& text);
    // `body` is markup from the helpers below.
    void card(const QString& title, const QString& body);
    void tip(const QString& text);
    QString html() const { return html_; }

    static QString escape(const QString& text);
    static QString paragraph(const QString& text);
    static QString strongParagraph(const QString& text);
    // Lines kept apart by line breaks within one paragraph.
    static QString lines(const QStringList& lines);
    // A two-column grid of label and value cells.
    static QString grid(const QList<QPair<QString, QString>>& pairs);
    static QString table(const QStringList& header, const QList<QStringList>& rows);

private:
    QString html_;
    int cards_ = 0;
};
