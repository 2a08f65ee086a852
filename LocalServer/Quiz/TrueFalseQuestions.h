#pragma once

#include "Quiz/QuizQuestionWriter.h"

// True/false statements, as many false as true:
// - true: a sentence of the notes that names a key term, as stated; for a term the notes define
//   outside their prose (a glossary line), "“term” means “definition”.";
// - false: the same with one key term swapped for another of the course. Only statements that a
//   swap makes false are used: a definition, or a sentence linking two or more key terms, and
//   none that hedges, negates or compares ("not", "also", "unlike", "can"), since a swap in those
//   may well stay true. The term swapped in is never one the notes say the same of, nor one named
//   in a sentence together with the statement's other terms.
class TrueFalseQuestions : public QuizQuestionWriter {
public:
    using QuizQuestionWriter::QuizQuestionWriter;

    QList<QuizPlan> plans() const override;
    QJsonObject write(const QuizPlan& plan) override;
    bool balanced() const override { return true; }

private:
    QJsonObject falseStatement(const QuizPlan& plan);
    QJsonObject falseDefinition(const QuizPlan& plan);
    // The sentence with the mention replaced by the other term in the same number, and "a"/"an"
    // before it agreeing.
    QString swapped(int sentence, const TermMention& mention, int other) const;
    QString meaning(int term, const QString& shownTerm) const;
};
