#include "Quiz/FillInBlankQuestions.h"

#include "Quiz/QuizGenerator.h"

#include <QJsonArray>

QList<QuizPlan> FillInBlankQuestions::plans() const {
    QList<QuizPlan> plans;
    for (int s = 0; s < material().sentences().size(); ++s)
        if (material().standsAlone(s))
            for (const int t : material().termsIn(s))
                plans.append({QuizPlan::Way::blank, t, s});
    for (int t = 0; t < material().terms().size(); ++t)
        if (material().definingSentence(t) < 0 && !material().terms()[t].sentence.isEmpty())
            plans.append({QuizPlan::Way::blank, t});
    return plans;
}

QJsonObject FillInBlankQuestions::write(const QuizPlan& plan) {
    static constexpr int minWordsLeft = 4;
    const QString& text = plan.sentence >= 0 ? material().sentences()[plan.sentence].text
                                             : material().terms()[plan.term].sentence;
    QStringList cut;
    const QString blanked = material().forms(plan.term).masked(text, QuizGenerator::blank, &cut);
    if (cut.isEmpty() || wordsBesideBlanks(blanked) < minWordsLeft)
        return {};
    QJsonArray answers;
    for (const QString& answer : material().forms(plan.term).accepted(cut))
        answers.append(answer);
    return {{"question", QStringLiteral("Fill in the blank: ") + neutralArticles(blanked)},
            {"question_type", "fill_in_blank"},
            {"options", QJsonArray()},
            {"correct_answers", answers},
            {"explanation",
             plan.sentence >= 0 ? explanationOfSentence(plan.sentence) : explanationOfTerm(plan.term)}};
}
