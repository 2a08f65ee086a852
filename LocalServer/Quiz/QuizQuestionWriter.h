#pragma once

#include "Quiz/QuizDistractors.h"
#include "Quiz/QuizMaterial.h"
#include "Quiz/QuizPlan.h"

#include <QJsonObject>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>

// Writes one type of question: the plans the material allows, and the question for a plan, as a
// QuizQuestion record. The shared parts (explanations, answer positions, blanks) are here.
class QuizQuestionWriter {
public:
    struct Tools {
        const QuizMaterial& material;
        QuizDistractors& distractors;
        QRandomGenerator& random;
        QStringList documents; // by source, the names explanations give
    };

    explicit QuizQuestionWriter(Tools tools) : tools_(std::move(tools)) {}
    virtual ~QuizQuestionWriter() = default;

    virtual QList<QuizPlan> plans() const = 0;
    // The question, or an empty object when the plan turns out to allow none.
    virtual QJsonObject write(const QuizPlan& plan) = 0;
    // Whether its true and false statements come in equal numbers.
    virtual bool balanced() const { return false; }

    static QString quoted(const QString& text);
    // "a _____" and "an _____" both read "a(n) _____", so that the article gives nothing away.
    static QString neutralArticles(const QString& blanked);
    // How many words a blanked text keeps besides its blanks.
    static qsizetype wordsBesideBlanks(const QString& blanked);

protected:
    const QuizMaterial& material() const { return tools_.material; }
    QuizDistractors& distractors() { return tools_.distractors; }
    // "From <document>, under “<heading>”: “<sentence>”".
    QString explanation(int source, const QString& heading, const QString& sentence) const;
    QString explanationOfSentence(int sentence) const;
    QString explanationOfTerm(int term) const;
    // A multiple-choice record: the right option at the next dealt position among the wrong ones.
    QJsonObject choiceQuestion(const QString& question, const QString& answer, const QStringList& wrong,
                               const QString& explanation);
    // A true/false record.
    static QJsonObject truthQuestion(const QString& statement, bool truth, const QString& explanation);
    // The sentence's words for a term, its first letter lower case where the term's is.
    QString asWritten(int sentence, const TermMention& mention) const;
    // The same with the article the sentence writes before it, lower case: "the Krebs cycle".
    QString withArticle(int sentence, const TermMention& mention) const;

private:
    Tools tools_;
    QList<int> positions_;
};
