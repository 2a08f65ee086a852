#include "Reading/ReadingGuideWriter.h"

#include "Library/Summarizer.h"
#include "Reading/ReadingOutline.h"
#include "Terms/CommonWords.h"
#include "Terms/KeyConceptLine.h"
#include "Terms/KeyTermEngine.h"
#include "Terms/StandaloneSentence.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

using Analysis = KeyTermEngine::Analysis;

// `count` indexes spread evenly over `size` items, in order.
QList<qsizetype> spread(qsizetype size, int count) {
    QList<qsizetype> out;
    const qsizetype wanted = std::min<qsizetype>(size, count);
    for (qsizetype i = 0; i < wanted; ++i)
        out.append(i * size / wanted);
    return out;
}

QJsonObject question(const QString& text, const QString& type, const QString& answer = {}) {
    QJsonObject out{{"question", text}, {"type", type}};
    if (!answer.isEmpty())
        out.insert("expected_answer", answer);
    return out;
}

// "What is an enzyme", "What is the thylakoid", "What are enzymes", "What is glycolysis": the term
// with the article the text gives it.
QString whatIs(const KeyTermEngine::Term& term) {
    const QString written = term.sentence + ' ' + term.context;
    const QString name = QRegularExpression::escape(term.term);
    for (const QString& article : {QStringLiteral("an?"), QStringLiteral("the")}) {
        const QRegularExpression withArticle(R"(\b()" + article + R"()\s+)" + name + R"(\b)",
                                             QRegularExpression::CaseInsensitiveOption);
        if (const QRegularExpressionMatch match = withArticle.match(written); match.hasMatch())
            return "What is " + match.captured(1).toLower() + ' ' + term.term;
    }
    const QRegularExpression plural(name + R"(\s+are\b)", QRegularExpression::CaseInsensitiveOption);
    if (term.term.endsWith('s') && plural.match(written).hasMatch())
        return "What are " + term.term;
    return "What is " + term.term;
}

QJsonArray strings(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

// A sentence of the text that uses the term, as it reads quoted on its own: the first other than
// its defining one, else that one; empty when none reads on its own.
QString contextOf(const Analysis& analysis, int term) {
    const int defining = StandaloneSentence::definingSentence(analysis, term);
    for (int i = 0; i < analysis.sentences.size(); ++i) {
        if (i == defining || !analysis.sentences[i].prose || !analysis.sentences[i].terms.contains(term))
            continue;
        if (QString quoted = StandaloneSentence::about(analysis, i, StandaloneSentence::subject(analysis, i));
            !quoted.isEmpty())
            return quoted;
    }
    return defining < 0 ? QString()
                        : StandaloneSentence::about(analysis, defining,
                                                    StandaloneSentence::subject(analysis, defining));
}

// Two key terms the text names in one sentence, with that sentence.
struct Relation {
    QString first;
    QString second;
    QString sentence;
};

QList<Relation> relations(const Analysis& analysis, int among) {
    QList<Relation> out;
    const int count = std::min<int>(among, int(analysis.terms.size()));
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            for (int at = 0; at < analysis.sentences.size(); ++at) {
                const QList<int>& named = analysis.sentences[at].terms;
                if (!named.contains(i) || !named.contains(j))
                    continue;
                const QString sentence =
                    StandaloneSentence::about(analysis, at, StandaloneSentence::subject(analysis, at));
                if (sentence.isEmpty())
                    continue;
                out.append({analysis.terms[i].term, analysis.terms[j].term, sentence});
                break;
            }
    return out;
}

// A heading inside a sentence: "Light reactions" → "light reactions"; names and acronyms keep
// their capitals.
QString lowerFirst(const QString& text) {
    const QString word = text.section(' ', 0, 0);
    if (word.isEmpty() || word.mid(1) != word.mid(1).toLower() ||
        !CommonWords::instance().contains(word.toLower()))
        return text;
    return text.front().toLower() + text.mid(1);
}

QString listed(const QStringList& items) {
    if (items.size() <= 1)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(", ") + " and " + items.last();
}

QStringList tips(const QString& type) {
    if (type == "quick_review")
        return {"Skim the headings and the first sentence of each paragraph before reading in full.",
                "Stop after each section and say its main point in one sentence."};
    if (type == "deep_dive")
        return {"Read each section twice: once for the argument, once for the evidence.",
                "Write the Cornell cues in your own words before you check the notes column.",
                "Draw how the key concepts connect; gaps in the drawing are what to reread.",
                "Note every claim you would want a source for."};
    if (type == "study_guide")
        return {"Cover the definitions and recall each vocabulary term before checking it.",
                "Answer the questions on paper first; checking only after answering is what makes it stick.",
                "Come back to the terms you missed after a day."};
    if (type == "discussion_prep")
        return {"Mark the passages you agree and disagree with as you read.",
                "For each open question, note one piece of the text you would quote.",
                "Think of an example from outside the reading for each key idea."};
    return {"Preview the headings and learning objectives before you start.",
            "Keep the Cornell cues beside you and answer them as you reach each passage.",
            "Look up each vocabulary term the first time it appears.",
            "Finish with the comprehension questions, without looking back."};
}

} // namespace

int ReadingGuideWriter::estimatedMinutes(const QStringList& texts, int wordsPerMinute) {
    qsizetype words = 0;
    for (const QString& text : texts)
        words += text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts).size();
    return std::max(1, int(std::ceil(double(words) / std::max(1, wordsPerMinute))));
}

QJsonObject ReadingGuideWriter::write(const QList<Source>& sources, const Request& request) {
    const ReadingStyle& style = request.style;
    QStringList texts;
    for (const Source& source : sources)
        texts.append(source.text);
    const Analysis analysis = KeyTermEngine::analyze(texts);
    const QList<KeyTermEngine::Term>& terms = analysis.terms;
    const ReadingOutline parts = ReadingOutline::of(analysis);
    const Summarizer summary = Summarizer::summarize(analysis);
    const QList<Relation> related = relations(analysis, 12);

    // The key concepts are the first key terms, shown with what they mean.
    QStringList concepts;
    QStringList conceptLines;
    for (int i = 0; i < terms.size() && concepts.size() < style.keyConcepts; ++i) {
        concepts.append(terms[i].term);
        if (const QString line = KeyConceptLine::of(terms[i]);
            !line.isEmpty() && StandaloneSentence::describes(analysis, i))
            conceptLines.append(line);
    }
    // The terms whose definitions a guide can quote.
    QList<int> defined;
    for (int i = 0; i < terms.size(); ++i)
        if (StandaloneSentence::describes(analysis, i))
            defined.append(i);
    const QString central = !parts.headings.isEmpty() ? parts.headings.first()
                            : !concepts.isEmpty()     ? concepts.first()
                                                      : request.chapterTitle;

    QJsonObject out{{"template_id", request.templateId},
                    {"chapter_title", request.chapterTitle},
                    {"template_type", style.type},
                    {"central_concept", central},
                    {"estimated_time", estimatedMinutes(texts, style.wordsPerMinute)},
                    {"created_at", request.createdAt}};
    if (!request.bookTitle.isEmpty())
        out.insert("book_title", request.bookTitle);
    if (!summary.summaryText.isEmpty())
        out.insert("content_summary", summary.summaryText);

    // Learning objectives: the sections first, then the terms, then the concepts.
    QStringList objectives;
    for (const QString& heading : parts.headings.mid(1))
        objectives.append("Summarise what the reading says about " + lowerFirst(heading) + ".");
    objectives = objectives.mid(0, (style.objectives + 1) / 2);
    for (const auto& term : terms) {
        if (objectives.size() >= style.objectives - 1)
            break;
        objectives.append("Define " + term.term + " and use it in a sentence of your own.");
    }
    for (const QString& idea : std::as_const(concepts)) {
        if (objectives.size() >= style.objectives)
            break;
        objectives.append("Explain the role of " + idea + " in this reading.");
    }
    if (!objectives.isEmpty())
        out.insert("learning_objectives", strings(objectives));

    // Cornell notes: a cue for each chosen passage, one term or heading asked about once.
    QStringList cues;
    QStringList notes;
    QStringList asked;
    for (const qsizetype index : spread(parts.passages.size(), style.cornellCues)) {
        const ReadingOutline::Passage& passage = parts.passages[index];
        QString cue;
        for (const int term : passage.terms)
            if (!asked.contains(terms[term].term)) {
                asked.append(terms[term].term);
                cue = whatIs(terms[term]) + ", and why does it matter here?";
                break;
            }
        if (cue.isEmpty() && !passage.heading.isEmpty() && !asked.contains(passage.heading)) {
            asked.append(passage.heading);
            cue = "What does the text say about " + lowerFirst(passage.heading) + "?";
        }
        if (cue.isEmpty())
            cue = "What is the main point of this passage?";
        cues.append(cue);
        notes.append(passage.note);
    }
    if (!cues.isEmpty()) {
        out.insert("cornell_left_column", strings(cues));
        out.insert("cornell_right_column", strings(notes));
    }

    if (!conceptLines.isEmpty())
        out.insert("key_concepts", strings(conceptLines));

    QJsonArray vocabulary;
    for (const int term : defined.mid(0, style.vocabulary))
        vocabulary.append(QJsonObject{{"term", terms[term].term},
                                      {"definition", terms[term].definition},
                                      {"context", contextOf(analysis, term)}});
    if (!vocabulary.isEmpty())
        out.insert("vocabulary", vocabulary);

    // Comprehension: factual questions on the terms, then open ones on related terms or sections.
    QJsonArray comprehension;
    for (const int term : defined.mid(0, style.factualQuestions))
        comprehension.append(question(whatIs(terms[term]) + "?", "factual", terms[term].definition));
    int open = 0;
    for (const Relation& relation : related) {
        if (open >= style.openQuestions)
            break;
        comprehension.append(question("How is " + relation.first + " related to " + relation.second + "?",
                                      "open",
                                      "Outline: say what " + relation.first + " is; say what " +
                                          relation.second + " is; explain the link the text draws (\"" +
                                          relation.sentence + "\"); add an example of your own."));
        ++open;
    }
    for (const ReadingOutline::Passage& passage : parts.passages) {
        if (open >= style.openQuestions)
            break;
        if (passage.heading.isEmpty() || passage.heading == central ||
            std::any_of(comprehension.begin(), comprehension.end(), [&](const QJsonValue& q) {
                return q.toObject().value("question").toString().contains(passage.heading);
            }))
            continue;
        comprehension.append(question(
            "Why does the reading give " + passage.heading + " a section of its own?", "open",
            "Outline: state the section's main point (\"" + passage.opening + "\"); show how it supports " +
                lowerFirst(central) + "; close with what would be missing without it."));
        ++open;
    }
    if (!comprehension.isEmpty())
        out.insert("comprehension_questions", comprehension);

    QJsonArray before;
    if (style.beforeQuestions > 0)
        before.append(question("What do you expect to learn from " + request.chapterTitle + "?", "preview"));
    for (const QString& topic : parts.headings.mid(1) + concepts) {
        if (before.size() >= style.beforeQuestions)
            break;
        before.append(question("What do you already know about " + lowerFirst(topic) + "?", "preview"));
    }
    if (!before.isEmpty())
        out.insert("before_reading_questions", before);

    const QList<QJsonObject> reflections{
        question("How would you explain " + lowerFirst(central) + " to a classmate in two sentences?",
                 "reflection"),
        question("Which idea in the reading surprised you, and why?", "reflection"),
        question("How does this reading change what you knew about " + lowerFirst(central) + "?",
                 "reflection"),
        question("What question would you still ask the author?", "reflection")};
    QJsonArray after;
    for (const QJsonObject& reflection : reflections.mid(0, style.afterQuestions))
        after.append(reflection);
    if (!after.isEmpty())
        out.insert("after_reading_questions", after);

    QStringList relationships;
    for (const Relation& relation : related.mid(0, style.relationships))
        relationships.append(relation.first + " and " + relation.second + ": " + relation.sentence);
    if (!relationships.isEmpty())
        out.insert("key_relationships", strings(relationships));

    if (style.connections && !concepts.isEmpty()) {
        QString text = "This reading ties together " + listed(concepts.mid(0, 3)) + ".";
        if (!request.bookTitle.isEmpty())
            text += " Place it in " + request.bookTitle + ": which earlier topics does it build on?";
        if (!related.isEmpty())
            text += " Follow how " + related.first().first + " leads to " + related.first().second + ".";
        out.insert("connections", text);
    }

    QStringList exploration;
    for (const QString& idea : concepts) {
        if (exploration.size() >= style.exploration)
            break;
        exploration.append("Where could " + lowerFirst(idea) + " apply outside this course?");
        if (exploration.size() < style.exploration)
            exploration.append("What evidence would change how the reading treats " + lowerFirst(idea) + "?");
    }
    if (!exploration.isEmpty())
        out.insert("questions_for_exploration", strings(exploration));

    QStringList actions;
    if (!vocabulary.isEmpty())
        actions.append(QStringLiteral("Study the %1 vocabulary term%2 as flashcards.")
                           .arg(QString::number(vocabulary.size()),
                                vocabulary.size() == 1 ? QString() : QStringLiteral("s")));
    if (!cues.isEmpty())
        actions.append("Cover the notes column and answer each Cornell cue from memory.");
    actions.append("Write a three-sentence summary of " + request.chapterTitle + ".");
    if (style.exploration > 0)
        actions.append("Bring two questions for exploration to your next class.");
    actions.append(
        "Answer the comprehension questions without looking back, then check them against the text.");
    actions.append("Review this guide again tomorrow and in a week.");
    out.insert("action_items", strings(actions.mid(0, style.actionItems)));
    out.insert("reading_tips", strings(tips(style.type).mid(0, style.readingTips)));
    return out;
}
