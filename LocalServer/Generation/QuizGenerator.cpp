#include "QuizGenerator.h"

#include "DistractorCloseness.h"
#include "VocabularyExtractor.h"

#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace {

using Term = VocabularyExtractor::Term;

// Compared case- and space-insensitively, punctuation aside.
QString normalized(const QString& text) {
    static const QRegularExpression punctuation(R"([^\w\s])");
    return QString(text).toLower().remove(punctuation).simplified();
}

QString quoted(const QString& text) {
    return QStringLiteral("“") + text + QStringLiteral("”");
}

// Words a topic carries no meaning in.
const QSet<QString>& topicStopWords() {
    static const QSet<QString> words{"the", "a", "an", "of", "and", "or", "in", "on", "to", "for", "with"};
    return words;
}

// The term's other number, by the common English rules.
QStringList numberForms(const QString& term) {
    const QString lower = term.toLower();
    if (lower.endsWith("ies") && lower.size() > 4)
        return {term.chopped(3) + "y"};
    if (lower.endsWith("ses") || lower.endsWith("xes") || lower.endsWith("ches") || lower.endsWith("shes"))
        return {term.chopped(2)};
    if (lower.endsWith("is") && lower.size() > 4) // analysis, analyses
        return {term.chopped(2) + "es"};
    if (lower.endsWith('s') && !lower.endsWith("ss") && !lower.endsWith("us"))
        return {term.chopped(1)};
    if (lower.endsWith('y') && lower.size() > 2 &&
        !QStringLiteral("aeiou").contains(lower.at(lower.size() - 2)))
        return {term.chopped(1) + "ies"};
    if (lower.endsWith('s') || lower.endsWith('x') || lower.endsWith("ch") || lower.endsWith("sh"))
        return {term + "es"};
    return {term + "s"};
}

// The term, with its other number, as whole words in any letter case.
QRegularExpression termPattern(const QString& term) {
    QStringList forms{term};
    forms.append(numberForms(term));
    std::sort(forms.begin(), forms.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (QString& form : forms)
        form = QRegularExpression::escape(form).replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
    return QRegularExpression(R"((?<![\w\-]))" + QStringLiteral("(?:%1)").arg(forms.join('|')) +
                                  R"((?![\w\-]))",
                              QRegularExpression::CaseInsensitiveOption);
}

// Replaces every use of the term in `text` with the blank; the forms cut out are added to `cut`.
QString withBlanks(const QString& text, const QString& term, QStringList* cut = nullptr) {
    const QRegularExpression pattern = termPattern(term);
    QString out;
    qsizetype at = 0;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += text.mid(at, match.capturedStart() - at) + QuizGenerator::blank;
        at = match.capturedEnd();
        if (cut && !cut->contains(match.captured()))
            cut->append(match.captured());
    }
    return out + text.mid(at);
}

class Generation {
public:
    Generation(const QList<QuizGenerator::Source>& sources, const QuizGenerator::Request& request,
               const QuizGenerator::RelatedWords& related)
        : sources_(sources), request_(request), related_(related), random_(request.seed) {}

    QuizGenerator::Result run() {
        QStringList texts;
        for (const QuizGenerator::Source& source : sources_)
            texts.append(request_.topic.isEmpty() ? source.text : aboutTopic(source.text));
        if (!request_.topic.isEmpty() && texts.join(QString()).trimmed().isEmpty())
            return {{},
                    QStringLiteral("Nothing in this course's documents mentions %1. Try another topic, or "
                                   "leave it empty.")
                        .arg(quoted(request_.topic.simplified()))};
        terms_ = VocabularyExtractor::keyTerms(texts);
        if (terms_.isEmpty())
            return {{}, QuizGenerator::nothingToQuiz()};
        if (request_.questionType == "multiple_choice" && terms_.size() < QuizGenerator::choices)
            return {{},
                    QStringLiteral("Multiple choice needs at least %1 key terms, and this course's documents "
                                   "define %2 so far. Try true/false or fill in the blank.")
                        .arg(QuizGenerator::choices)
                        .arg(terms_.size())};
        QList<int> order(terms_.size());
        std::iota(order.begin(), order.end(), 0);
        shuffle(order);
        QJsonArray questions;
        for (const int index : std::as_const(order)) {
            if (questions.size() >= request_.count)
                break;
            const QJsonObject question = request_.questionType == "true_false"      ? trueFalse(index)
                                         : request_.questionType == "fill_in_blank" ? fillIn(index)
                                                                                    : multipleChoice(index);
            if (!question.isEmpty())
                questions.append(question);
        }
        if (questions.isEmpty())
            return {{}, QuizGenerator::nothingToQuiz()};
        return {questions, {}};
    }

private:
    // The paragraphs that mention every stem of the topic, and the sections whose heading does,
    // with their headings.
    QString aboutTopic(const QString& text) {
        QSet<QString> wanted;
        for (const QString& stem : closeness_.stems(request_.topic))
            if (!topicStopWords().contains(stem))
                wanted.insert(stem);
        static const QRegularExpression paragraphBreak(R"(\n\s*\n)");
        static const QRegularExpression heading(R"(^\s*#{1,6}\s+)");
        QStringList kept;
        QString sectionHeading;
        bool sectionMatches = false;
        bool headingKept = false;
        for (const QString& paragraph : text.split(paragraphBreak, Qt::SkipEmptyParts)) {
            const bool mentions = closeness_.stems(paragraph).contains(wanted);
            if (heading.match(paragraph).hasMatch()) {
                sectionHeading = paragraph.section('\n', 0, 0);
                sectionMatches = mentions;
                headingKept = false;
            }
            if (!mentions && !sectionMatches)
                continue;
            if (!headingKept && !sectionHeading.isEmpty() && !paragraph.startsWith(sectionHeading))
                kept.append(sectionHeading);
            headingKept = true;
            kept.append(paragraph);
        }
        return kept.join(QStringLiteral("\n\n"));
    }

    template <typename T> void shuffle(QList<T>& list) {
        for (qsizetype i = list.size() - 1; i > 0; --i)
            list.swapItemsAt(i, qsizetype(random_.bounded(quint32(i + 1))));
    }

    // The answer's position: each run of `count` questions uses every position once.
    int nextPosition(QList<int>& positions, int count) {
        if (positions.isEmpty()) {
            for (int i = 0; i < count; ++i)
                positions.append(i);
            shuffle(positions);
        }
        return positions.takeLast();
    }

    bool related(int a, int b) {
        if (!related_)
            return false;
        const auto wordsOf = [this](int index) {
            auto found = relatedWords_.constFind(index);
            if (found == relatedWords_.constEnd())
                found = relatedWords_.insert(index, related_(terms_[index].term));
            return *found;
        };
        return wordsOf(a).contains(terms_[b].term.toLower()) || wordsOf(b).contains(terms_[a].term.toLower());
    }

    bool sameSection(int a, int b) const {
        return terms_[a].text == terms_[b].text && terms_[a].heading == terms_[b].heading;
    }

    // Other terms whose text (by `textOf`) can stand beside the answer's, in the difficulty's order:
    // never equal to the answer nor to each other, nor defined the same way as the answer.
    QList<int> distractors(int answer, int wanted, const std::function<QString(const Term&)>& textOf) {
        struct Candidate {
            int index;
            double closeness;
            quint32 tieBreak;
        };
        QList<Candidate> candidates;
        const QString answerText = textOf(terms_[answer]);
        for (int i = 0; i < terms_.size(); ++i) {
            if (i == answer || normalized(terms_[i].definition) == normalized(terms_[answer].definition))
                continue;
            candidates.append(
                {i, closeness_(answerText, textOf(terms_[i]), related(answer, i), sameSection(answer, i)),
                 random_.generate()});
        }
        const QString& difficulty = request_.difficulty;
        std::sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
            if (difficulty == "medium" || a.closeness == b.closeness)
                return a.tieBreak < b.tieBreak;
            return difficulty == "hard" ? a.closeness > b.closeness : a.closeness < b.closeness;
        });
        QSet<QString> taken{normalized(answerText)};
        QList<int> chosen;
        for (const Candidate& candidate : std::as_const(candidates)) {
            if (chosen.size() == wanted)
                break;
            const QString text = normalized(textOf(terms_[candidate.index]));
            if (text.isEmpty() || taken.contains(text))
                continue;
            taken.insert(text);
            chosen.append(candidate.index);
        }
        return chosen;
    }

    QString explanation(const Term& term, const QString& sentence) const {
        QString where = sources_.value(term.text).name;
        if (!term.heading.isEmpty())
            where += QStringLiteral(", under ") + quoted(term.heading);
        return QStringLiteral("From %1: %2").arg(where, quoted(sentence));
    }

    // The definition with the term itself hidden, so that it does not give the answer away.
    static QString maskedDefinition(const Term& term) { return withBlanks(term.definition, term.term); }

    QJsonObject multipleChoice(int index) {
        const Term& term = terms_[index];
        // Definitions offered as answers must not hold a blank: the blank would mark the one whose
        // term is asked. A term whose definition names it is asked for by its definition instead.
        const auto offeredDefinition = [](const Term& t) {
            const QString masked = maskedDefinition(t);
            return masked.contains(QuizGenerator::blank) ? QString() : masked;
        };
        const bool asksForTerm = random_.bounded(2) == 0 || offeredDefinition(term).isEmpty();
        const auto textOf = [asksForTerm, offeredDefinition](const Term& t) {
            return asksForTerm ? t.term : offeredDefinition(t);
        };
        const QList<int> others = distractors(index, QuizGenerator::choices - 1, textOf);
        if (others.size() < QuizGenerator::choices - 1)
            return {};
        const int position = nextPosition(choicePositions_, QuizGenerator::choices);
        QJsonArray options;
        for (const int other : others)
            options.append(textOf(terms_[other]));
        options.insert(position, textOf(term));
        const QString question = asksForTerm ? QStringLiteral("Which term matches this definition: %1?")
                                                   .arg(quoted(maskedDefinition(term)))
                                             : QStringLiteral("What does %1 mean?").arg(quoted(term.term));
        return {{"question", question},
                {"question_type", "multiple_choice"},
                {"options", options},
                {"correct_answer", position},
                {"explanation", explanation(term, term.sentence)}};
    }

    QJsonObject trueFalse(int index) {
        const Term& term = terms_[index];
        int shown = index;
        if (nextPosition(truthPositions_, 2) == 1) {
            const QList<int> swapped = distractors(index, 1, [](const Term& t) { return t.term; });
            if (!swapped.isEmpty())
                shown = swapped.first();
        }
        const bool isTrue = shown == index;
        QString explained = explanation(term, term.sentence);
        if (!isTrue)
            explained = QStringLiteral("That describes %1, not %2. ")
                            .arg(quoted(term.term), quoted(terms_[shown].term)) +
                        explained;
        return {{"question", QStringLiteral("True or false: %1 means %2.")
                                 .arg(quoted(terms_[shown].term), quoted(maskedDefinition(term)))},
                {"question_type", "true_false"},
                {"options", QJsonArray{"True", "False"}},
                {"correct_answer", isTrue ? 0 : 1},
                {"explanation", explained}};
    }

    QJsonObject fillIn(int index) {
        static constexpr int minWordsLeft = 4;
        const Term& term = terms_[index];
        for (const QString& sentence : {term.sentence, term.context}) {
            QStringList cut;
            const QString blanked = withBlanks(sentence, term.term, &cut);
            if (cut.isEmpty() ||
                QString(blanked).remove(QuizGenerator::blank).split(' ', Qt::SkipEmptyParts).size() <
                    minWordsLeft)
                continue;
            QStringList accepted{term.term, term.term.toLower()};
            accepted.append(cut);
            accepted.append(numberForms(term.term));
            static const QRegularExpression article(R"(^(?:the|an?)\s+)",
                                                    QRegularExpression::CaseInsensitiveOption);
            accepted.append(QString(term.term).remove(article));
            QJsonArray answers;
            QSet<QString> seen;
            for (const QString& answer : std::as_const(accepted))
                if (!answer.isEmpty() && !seen.contains(answer)) {
                    seen.insert(answer);
                    answers.append(answer);
                }
            return {{"question", QStringLiteral("Fill in the blank: %1").arg(blanked)},
                    {"question_type", "fill_in_blank"},
                    {"options", QJsonArray()},
                    {"correct_answers", answers},
                    {"explanation", explanation(term, sentence)}};
        }
        return {};
    }

    const QList<QuizGenerator::Source>& sources_;
    const QuizGenerator::Request& request_;
    const QuizGenerator::RelatedWords& related_;
    QRandomGenerator random_;
    DistractorCloseness closeness_;
    QList<Term> terms_;
    QHash<int, QSet<QString>> relatedWords_;
    QList<int> choicePositions_;
    QList<int> truthPositions_;
};

} // namespace

bool QuizGenerator::isQuestionType(const QString& type) {
    return type == "multiple_choice" || type == "true_false" || type == "fill_in_blank";
}

bool QuizGenerator::isDifficulty(const QString& difficulty) {
    return difficulty == "easy" || difficulty == "medium" || difficulty == "hard";
}

QString QuizGenerator::nothingToQuiz() {
    return QStringLiteral("Nothing to quiz on yet: add notes or a syllabus to this course.");
}

QuizGenerator::Result QuizGenerator::generate(const QList<Source>& sources, const Request& request,
                                              const RelatedWords& related) {
    return Generation(sources, request, related).run();
}
