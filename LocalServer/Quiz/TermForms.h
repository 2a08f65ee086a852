#pragma once

#include "Terms/KeyTermEngine.h"

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

// The ways one key term may be written: as the notes write it, the other forms the key-term engine
// merged into it (plural, acronym, expansion), each in either number, in any letter case (acronyms
// only in capitals), with or without a leading article. Questions hide every one of them, and a
// typed answer may be any of them.
class TermForms {
public:
    TermForms() = default;
    explicit TermForms(const KeyTermEngine::Term& term);

    // The term as the notes write it first, then the others.
    const QStringList& forms() const { return forms_; }
    // Every use of a form as a whole word.
    const QRegularExpression& pattern() const { return pattern_; }
    bool occursIn(const QString& text) const { return pattern_.match(text).hasMatch(); }
    // The text with every use replaced by `blank`; the texts cut out are added to `cut`.
    QString masked(const QString& text, const QString& blank, QStringList* cut = nullptr) const;
    // Whether the text, compared without case, article and punctuation, is one of the forms.
    bool isForm(const QString& text) const { return keys_.contains(key(text)); }
    // Whether the two terms are one written two ways: a form of one is a form of the other.
    bool sharesFormWith(const TermForms& other) const { return keys_.intersects(other.keys_); }
    // What a student may type for the term, given the texts a blank cut out; no two alike.
    QStringList accepted(const QStringList& cut) const;

    // The other number of a word or phrase by its last word, by common English and Latin endings:
    // "enzyme" → "enzymes", "mitochondria" → "mitochondrion", "mitochondrium".
    static QStringList numberForms(const QString& text);
    // Whether the text reads as a plural by its last word's ending: "ribosomes", "mitochondria",
    // "nuclei"; not "osmosis", "virus", "glass". A guess, for agreeing with the words around it.
    static bool looksPlural(const QString& text);
    // "a" or "an" before the text, by how it sounds: "an enzyme", "a ribosome", "an RNA strand".
    static QString indefiniteArticle(const QString& text);
    // Lower case, no leading article, punctuation and extra spaces removed.
    static QString key(const QString& text);

private:
    QStringList forms_;
    QSet<QString> keys_;
    QRegularExpression pattern_;
};
