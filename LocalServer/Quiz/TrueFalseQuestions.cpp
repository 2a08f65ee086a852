#include "Quiz/TrueFalseQuestions.h"

#include "Quiz/QuizGenerator.h"

#include <QRegularExpression>
#include <algorithm>

QList<QuizPlan> TrueFalseQuestions::plans() const {
    using Way = QuizPlan::Way;
    QList<QuizPlan> plans;
    for (int s = 0; s < material().sentences().size(); ++s) {
        const QList<int> named = material().termsIn(s);
        if (named.isEmpty() || !material().standsAlone(s))
            continue;
        plans.append({Way::statement, named.first(), s});
        const bool defines = std::any_of(named.begin(), named.end(), [&](int t) {
            return material().terms()[t].defined && material().definingSentence(t) == s;
        });
        if (material().hedges(s) || (named.size() < 2 && !defines))
            continue;
        for (const int t : named) {
            const auto uses = std::count_if(material().mentions(s).begin(), material().mentions(s).end(),
                                            [t](const TermMention& m) { return m.term == t; });
            // "ATP, or adenosine triphosphate, …": a swap would have to change both.
            if (uses == 1)
                plans.append({Way::falseStatement, t, s, -1, true});
        }
    }
    for (int t = 0; t < material().terms().size(); ++t) {
        const int sentence = material().definingSentence(t);
        if (!material().terms()[t].defined || (sentence >= 0 && material().standsAlone(sentence)))
            continue;
        plans.append({Way::definition, t});
        plans.append({Way::falseDefinition, t, -1, -1, true});
    }
    return plans;
}

QJsonObject TrueFalseQuestions::write(const QuizPlan& plan) {
    switch (plan.way) {
    case QuizPlan::Way::statement:
        return truthQuestion(material().sentences()[plan.sentence].text, true,
                             explanationOfSentence(plan.sentence));
    case QuizPlan::Way::falseStatement:
        return falseStatement(plan);
    case QuizPlan::Way::definition:
        return truthQuestion(meaning(plan.term, material().terms()[plan.term].term), true,
                             explanationOfTerm(plan.term));
    case QuizPlan::Way::falseDefinition:
        return falseDefinition(plan);
    default:
        return {};
    }
}

QJsonObject TrueFalseQuestions::falseStatement(const QuizPlan& plan) {
    const QList<TermMention>& mentions = material().mentions(plan.sentence);
    const auto mention = std::find_if(mentions.begin(), mentions.end(),
                                      [&](const TermMention& m) { return m.term == plan.term; });
    QList<int> others = material().termsIn(plan.sentence);
    others.removeAll(plan.term);
    const QList<const StatedRelation*> stated = material().relationsOf(plan.sentence, plan.term);
    const bool plural = TermForms::looksPlural(asWritten(plan.sentence, *mention));
    QuizDistractors::Choice choice;
    choice.text = [this](int t) { return material().terms()[t].term; };
    // A term that holds the same place in another relation makes a statement that is not plainly
    // absurd; one of the same number keeps the sentence's grammar as it was.
    choice.tier = [this, plan, plural, stated](int t) {
        int place = 2;
        for (const StatedRelation* relation : stated)
            place = std::min(place, material().fitsPlace(t, *relation, relation->subject.term == plan.term));
        return 2 * place + (TermForms::looksPlural(material().terms()[t].term) == plural ? 0 : 1);
    };
    choice.excluded = [this, plan, others](int t) {
        return others.contains(t) || material().namedTogether(t, others) ||
               material().alsoSaid(plan.sentence, plan.term, t);
    };
    const QList<int> ranked = distractors().ranked(plan.term, choice);
    if (ranked.isEmpty())
        return {};
    const int other = ranked.first();
    return truthQuestion(swapped(plan.sentence, *mention, other), false,
                         QStringLiteral("The notes say this of ") +
                             quoted(asWritten(plan.sentence, *mention)) + QStringLiteral(", not of ") +
                             quoted(material().terms()[other].term) + QStringLiteral(". ") +
                             explanationOfSentence(plan.sentence));
}

QJsonObject TrueFalseQuestions::falseDefinition(const QuizPlan& plan) {
    const QString& definition = material().terms()[plan.term].definition;
    QuizDistractors::Choice choice;
    choice.text = [this](int t) { return material().terms()[t].term; };
    choice.excluded = [this, definition](int t) { return material().forms(t).occursIn(definition); };
    const QList<int> ranked = distractors().ranked(plan.term, choice);
    if (ranked.isEmpty())
        return {};
    const QString& shown = material().terms()[ranked.first()].term;
    return truthQuestion(meaning(plan.term, shown), false,
                         QStringLiteral("That describes ") + quoted(material().terms()[plan.term].term) +
                             QStringLiteral(", not ") + quoted(shown) + QStringLiteral(". ") +
                             explanationOfTerm(plan.term));
}

QString TrueFalseQuestions::swapped(int sentence, const TermMention& mention, int other) const {
    static const QRegularExpression article(R"((?<![\w\-])(?:the|an?)\s+$)",
                                            QRegularExpression::CaseInsensitiveOption);
    const QString& text = material().sentences()[sentence].text;
    QString replacement = material().terms()[other].term;
    if (TermForms::looksPlural(replacement) !=
        TermForms::looksPlural(text.mid(mention.start, mention.end - mention.start)))
        replacement = TermForms::numberForms(replacement).first();
    // The article goes with the term: "Glycolysis takes place…", "The Krebs cycle takes place…".
    const QString usual = material().usualArticle(other);
    if (usual == QLatin1String("the"))
        replacement = QStringLiteral("the ") + replacement;
    else if (usual == QLatin1String("a") && !TermForms::looksPlural(replacement))
        replacement = TermForms::indefiniteArticle(replacement) + ' ' + replacement;
    const QString before = text.left(mention.start).remove(article);
    if (before.trimmed().isEmpty())
        replacement[0] = replacement.at(0).toUpper();
    return before + replacement + text.mid(mention.end);
}

QString TrueFalseQuestions::meaning(int term, const QString& shownTerm) const {
    const QString definition =
        material().forms(term).masked(material().terms()[term].definition, QuizGenerator::blank);
    return quoted(shownTerm) + QStringLiteral(" means ") + quoted(definition) + '.';
}
