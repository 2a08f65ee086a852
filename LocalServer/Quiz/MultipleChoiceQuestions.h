#pragma once

#include "Quiz/QuizQuestionWriter.h"

// Multiple-choice questions, four options each:
// - from a definition: "Which term matches this definition: “…”?" (options: terms), and "What
//   does “term” mean?" (options: definitions, WordNet's senses of sister terms after the course's);
// - from a sentence with a term left out: "Which term completes this sentence: “…”?";
// - from a stated relation, either way: "Where does glycolysis take place?", "Which of these takes
//   place in the cytoplasm?"; the wrong options are first terms that stand in the same place of
//   another relation of that kind.
// A term the same question would also accept (said the same way elsewhere in the notes, or stated
// in the same relation) is never a wrong option; terms the question itself names come last.
class MultipleChoiceQuestions : public QuizQuestionWriter {
public:
    using QuizQuestionWriter::QuizQuestionWriter;

    QList<QuizPlan> plans() const override;
    QJsonObject write(const QuizPlan& plan) override;

private:
    // The definition as an option: empty when the notes state none, or it names its own term.
    QString offeredDefinition(int term) const;
    QJsonObject fromDefinition(const QuizPlan& plan);
    QJsonObject fromSentence(const QuizPlan& plan);
    QJsonObject fromRelation(const QuizPlan& plan);
    QJsonObject ask(int answer, const QString& question, const QuizDistractors::Choice& choice,
                    const QString& explanation);
};
