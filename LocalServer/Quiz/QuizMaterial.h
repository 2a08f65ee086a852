#pragma once

#include "Quiz/StatedRelation.h"
#include "Quiz/TermForms.h"
#include "Quiz/TermMention.h"
#include "Terms/KeyTermEngine.h"

#include <QHash>
#include <QList>

// What a quiz is written from: the key terms of a course's notes with the ways each is written,
// where the sentences name them, and the relations those sentences state. Also answers whether an
// option would be right as well as the answer, so that no question has two.
class QuizMaterial {
public:
    explicit QuizMaterial(KeyTermEngine::Analysis analysis);

    const QList<KeyTermEngine::Term>& terms() const { return analysis_.terms; }
    const QList<KeyTermEngine::Sentence>& sentences() const { return analysis_.sentences; }
    const TermForms& forms(int term) const { return forms_[term]; }
    // The key terms a sentence writes, in order, none inside another.
    const QList<TermMention>& mentions(int sentence) const { return mentions_[sentence]; }
    // The terms a sentence names, each once, in order.
    QList<int> termsIn(int sentence) const;
    const QList<StatedRelation>& relations() const { return relations_; }
    // Whether a sentence can be read on its own: prose, a statement of a sensible length, not
    // opening on a word that points back to an earlier sentence ("It", "These").
    bool standsAlone(int sentence) const;
    // The sentence that defines the term; -1 when it is not one of the sentences (a glossary line).
    int definingSentence(int term) const { return definingSentence_.value(term, -1); }
    // Whether a sentence negates, hedges or compares ("not", "can", "also", "unlike"): what it says
    // of one term may well be true of others.
    bool hedges(int sentence) const;
    // The article the notes mostly write before the term: "the", "a" (for "a" or "an") or none.
    QString usualArticle(int term) const { return usualArticle_.value(term); }
    // How well a term fits the subject's (or object's) place of the relation: 0 when it holds that
    // place in another relation of the same kind, 1 in one of any kind, else 2.
    int fitsPlace(int term, const StatedRelation& relation, bool subject) const;

    // Whether two terms are one: they share a form, or the notes define them alike.
    bool alike(int a, int b) const;
    // Whether the notes also say what the sentence says about `term` with `other` in its place:
    // another sentence in the same words, or a relation the sentence states.
    bool alsoSaid(int sentence, int term, int other) const;
    // The relations a sentence states with the term at one end.
    QList<const StatedRelation*> relationsOf(int sentence, int term) const;
    // Whether one sentence names `term` together with every one of `others` (at least one).
    bool namedTogether(int term, const QList<int>& others) const;
    // Whether the notes state the relation's kind with `other` in place of its subject, or of its
    // object.
    bool statesWith(const StatedRelation& relation, bool inPlaceOfSubject, int other) const;

private:
    QString frame(int sentence, int term) const;
    void countArticles();

    KeyTermEngine::Analysis analysis_;
    QList<TermForms> forms_;
    QList<QList<TermMention>> mentions_;
    QList<QList<int>> sentencesOf_; // by term
    QList<StatedRelation> relations_;
    QHash<int, int> definingSentence_;
    QHash<int, QString> usualArticle_;
    QHash<QString, QList<int>> framed_; // a sentence with one term blanked → the terms it was said of
};
