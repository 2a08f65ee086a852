#pragma once

#include "Quiz/TermMention.h"

#include <QList>
#include <QString>

// A link between two key terms that one sentence of the notes states in so many words: "Glycolysis
// takes place in the cytoplasm", "The Krebs cycle produces NADH", "A ribosome is made of RNA",
// "Glycolysis is the first stage of cellular respiration", "A chloroplast contains chlorophyll",
// "Chloroplasts convert light energy into glucose". The subject is the term written just before the
// verb (an appositive and an adverb such as "also" may stand between them, a negation may not); the
// object is the first term after it, at most a few words on.
class StatedRelation {
public:
    enum class Kind { location, product, part, material, content, conversion };

    Kind kind = Kind::location;
    int sentence = 0;
    TermMention subject;
    TermMention object;
    QString link;        // the sentence's words from the verb up to the object: "takes place in the"
    QString input;       // what a conversion converts, as written: "light energy"
    QString whole;       // what a part is a part of in the sentence's words: "part", "stage", "step"
    bool plural = false; // the verb agrees with a plural subject: "Mitochondria produce ATP"

    // The question whose answer is the object, about the subject as written: "Where does glycolysis
    // take place?"
    QString question(const QString& subject) const;
    // The question whose answer is the subject, the object as written: "Which of these takes place
    // in the cytoplasm?"
    QString reverseQuestion(const QString& object) const;

    // The relations a sentence states between the terms it names (`mentions`, in the sentence's
    // order, not overlapping).
    static QList<StatedRelation> in(const QString& text, int sentence, const QList<TermMention>& mentions);
};
