#pragma once

#include "Quiz/QuizQuestionWriter.h"

// Fill-in-the-blank questions: a sentence of the notes that names a key term, every form of the
// term replaced by the blank; for a term defined outside the prose, its glossary line. The answers
// taken are the term's forms in either number, with or without an article, and the texts cut out.
class FillInBlankQuestions : public QuizQuestionWriter {
public:
    using QuizQuestionWriter::QuizQuestionWriter;

    QList<QuizPlan> plans() const override;
    QJsonObject write(const QuizPlan& plan) override;
};
