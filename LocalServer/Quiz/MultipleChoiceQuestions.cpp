#include "Quiz/MultipleChoiceQuestions.h"

#include "Quiz/QuizGenerator.h"

namespace {

// After QuizMaterial::fitsPlace's tiers: options the question names itself.
constexpr int namedInQuestion = 3;
constexpr int other = 2;

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

QList<QuizPlan> MultipleChoiceQuestions::plans() const {
    using Way = QuizPlan::Way;
    QList<QuizPlan> plans;
    for (int t = 0; t < material().terms().size(); ++t) {
        if (!material().terms()[t].defined)
            continue;
        const int sentence = material().definingSentence(t);
        plans.append({Way::definitionToTerm, t, sentence});
        if (!offeredDefinition(t).isEmpty())
            plans.append({Way::termToDefinition, t, sentence});
    }
    for (int s = 0; s < material().sentences().size(); ++s) {
        // "_____ does not need oxygen" would take many a term.
        if (!material().standsAlone(s) || material().hedges(s))
            continue;
        // The sentence defining a term, with the term left out, is its definition question again.
        for (const int t : material().termsIn(s))
            if (material().definingSentence(t) != s || !material().terms()[t].defined)
                plans.append({Way::cloze, t, s});
    }
    for (int r = 0; r < material().relations().size(); ++r) {
        const StatedRelation& relation = material().relations()[r];
        plans.append({Way::relation, relation.object.term, relation.sentence, r});
        plans.append({Way::reverseRelation, relation.subject.term, relation.sentence, r});
    }
    return plans;
}

QJsonObject MultipleChoiceQuestions::write(const QuizPlan& plan) {
    switch (plan.way) {
    case QuizPlan::Way::definitionToTerm:
    case QuizPlan::Way::termToDefinition:
        return fromDefinition(plan);
    case QuizPlan::Way::cloze:
        return fromSentence(plan);
    case QuizPlan::Way::relation:
    case QuizPlan::Way::reverseRelation:
        return fromRelation(plan);
    default:
        return {};
    }
}

QString MultipleChoiceQuestions::offeredDefinition(int term) const {
    const KeyTermEngine::Term& t = material().terms()[term];
    return !t.defined || material().forms(term).occursIn(t.definition) ? QString() : t.definition;
}

QJsonObject MultipleChoiceQuestions::fromDefinition(const QuizPlan& plan) {
    const KeyTermEngine::Term& term = material().terms()[plan.term];
    static constexpr int minWordsLeft = 3;
    const QString definition = material().forms(plan.term).masked(term.definition, QuizGenerator::blank);
    if (wordsBesideBlanks(definition) < minWordsLeft)
        return {};
    if (plan.way == QuizPlan::Way::definitionToTerm) {
        QuizDistractors::Choice choice;
        choice.text = [this](int t) { return material().terms()[t].term; };
        choice.tier = [this, definition](int t) -> int {
            return material().forms(t).occursIn(definition) ? namedInQuestion : other;
        };
        choice.sisterText = [](const WordNet::Coordinate& sister) { return sister.term; };
        return ask(plan.term,
                   QStringLiteral("Which term matches this definition: ") +
                       quoted(neutralArticles(definition)) + '?',
                   choice, explanationOfTerm(plan.term));
    }
    QuizDistractors::Choice choice;
    choice.text = [this](int t) { return offeredDefinition(t); };
    choice.sisterText = [](const WordNet::Coordinate& sister) {
        return sister.definition.size() > KeyTermEngine::maxDefinitionChars ? QString()
                                                                            : capitalised(sister.definition);
    };
    return ask(plan.term, QStringLiteral("What does ") + quoted(term.term) + QStringLiteral(" mean?"), choice,
               explanationOfTerm(plan.term));
}

QJsonObject MultipleChoiceQuestions::fromSentence(const QuizPlan& plan) {
    static constexpr int minWordsLeft = 4;
    const QString& text = material().sentences()[plan.sentence].text;
    QStringList cut;
    const QString blanked = material().forms(plan.term).masked(text, QuizGenerator::blank, &cut);
    if (cut.isEmpty() || wordsBesideBlanks(blanked) < minWordsLeft)
        return {};
    QuizDistractors::Choice choice;
    choice.text = [this](int t) { return material().terms()[t].term; };
    choice.excluded = [this, plan](int t) { return material().alsoSaid(plan.sentence, plan.term, t); };
    choice.tier = [this, blanked](int t) -> int {
        return material().forms(t).occursIn(blanked) ? namedInQuestion : other;
    };
    choice.sisterText = [](const WordNet::Coordinate& sister) { return sister.term; };
    return ask(plan.term,
               QStringLiteral("Which term completes this sentence: ") + quoted(neutralArticles(blanked)) +
                   '?',
               choice, explanationOfSentence(plan.sentence));
}

QJsonObject MultipleChoiceQuestions::fromRelation(const QuizPlan& plan) {
    const StatedRelation& relation = material().relations()[plan.relation];
    const bool forward = plan.way == QuizPlan::Way::relation;
    const QString question = forward ? relation.question(withArticle(plan.sentence, relation.subject))
                                     : relation.reverseQuestion(asWritten(plan.sentence, relation.object));
    // "What does ATP synthase produce?" would point at ATP.
    if (material().forms(plan.term).occursIn(question))
        return {};
    const int given = forward ? relation.subject.term : relation.object.term;
    QuizDistractors::Choice choice;
    choice.text = [this](int t) { return material().terms()[t].term; };
    choice.excluded = [this, &relation, forward, given](int t) {
        return t == given || material().statesWith(relation, !forward, t);
    };
    choice.tier = [this, &relation, forward, question](int t) -> int {
        return material().forms(t).occursIn(question) ? namedInQuestion
                                                      : material().fitsPlace(t, relation, !forward);
    };
    choice.sisterText = [](const WordNet::Coordinate& sister) { return sister.term; };
    return ask(plan.term, question, choice, explanationOfSentence(plan.sentence));
}

QJsonObject MultipleChoiceQuestions::ask(int answer, const QString& question,
                                         const QuizDistractors::Choice& choice, const QString& explanation) {
    const QStringList wrong = distractors().pick(answer, QuizGenerator::choices - 1, choice);
    if (wrong.size() < QuizGenerator::choices - 1)
        return {};
    return choiceQuestion(question, choice.text(answer), wrong, explanation);
}
