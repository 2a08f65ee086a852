#pragma once

// One question a quiz could ask, before it is written.
struct QuizPlan {
    enum class Way {
        definitionToTerm, // which term a definition defines
        termToDefinition, // which definition is a term's
        cloze,            // which term a sentence leaves out
        relation,         // what a relation links its subject to: "Where does glycolysis take place?"
        reverseRelation,  // which term the relation starts from: "Which of these takes place in …?"
        statement,        // a sentence of the notes, true as stated
        falseStatement,   // the sentence with one of its terms swapped for another
        definition,       // "“term” means “definition”."
        falseDefinition,  // the definition given to another term
        blank,            // a sentence with its term to be typed in
    };

    Way way = Way::statement;
    int term = 0;         // the term it is about: its answer, or the term a statement turns on
    int sentence = -1;    // the sentence it is written from; -1 for a definition no sentence holds
    int relation = -1;    // for relations, the index in QuizMaterial::relations
    bool falsity = false; // a false statement, balanced against the true ones

    // What the question uses up, so that a quiz does not lean on one sentence twice while others
    // are left: the sentence, else the term's definition.
    int material() const { return sentence >= 0 ? sentence : -1 - term; }
};
