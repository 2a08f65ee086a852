#include "ReadingGuideWriter.h"

#include "Summarizer.h"
#include "TextChunker.h"
#include "VocabularyExtractor.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr int maxNoteChars = 320;
constexpr int maxHeadingWords = 8;

// A paragraph of the text with the heading it stands under.
struct Passage {
    QString text;
    QString heading;
};

struct Outline {
    QStringList headings;
    QList<Passage> passages;
};

QString plainHeading(const QString& paragraph) {
    static const QRegularExpression markdown(R"(^\s*#{1,6}\s+(.+?)\s*#*\s*$)");
    if (paragraph.contains('\n'))
        return {};
    const QString line = paragraph.trimmed();
    if (const auto match = markdown.match(line); match.hasMatch())
        return match.captured(1).remove('*').trimmed();
    // A short line of its own without closing punctuation, starting with a capital: a title.
    static const QRegularExpression closing(R"([.!?,;:)\]"']$)");
    const qsizetype words = line.split(' ', Qt::SkipEmptyParts).size();
    if (words >= 1 && words <= maxHeadingWords && line.front().isUpper() && !closing.match(line).hasMatch())
        return line;
    return {};
}

Outline outline(const QList<ReadingGuideWriter::Source>& sources) {
    static const QRegularExpression paragraphBreak("\n\\s*\n");
    Outline out;
    for (const auto& source : sources) {
        QString heading;
        for (QString paragraph : source.text.split(paragraphBreak, Qt::SkipEmptyParts)) {
            paragraph = paragraph.trimmed();
            // A heading directly above its first paragraph, without a blank line between.
            if (const qsizetype end = paragraph.indexOf('\n'); end > 0) {
                if (const QString title = plainHeading(paragraph.left(end)); !title.isEmpty()) {
                    heading = title;
                    if (!out.headings.contains(heading))
                        out.headings.append(heading);
                    paragraph = paragraph.mid(end + 1).trimmed();
                }
            }
            if (const QString title = plainHeading(paragraph); !title.isEmpty()) {
                heading = title;
                if (!out.headings.contains(heading))
                    out.headings.append(heading);
            } else if (paragraph.size() > 40) {
                // Long paragraphs (or lecture notes with a sentence a line) make several passages
                // of a few sentences each, so that each cue covers about one idea.
                QString piece;
                for (const QString& sentence : TextChunker::sentences(paragraph)) {
                    if (!piece.isEmpty() && piece.size() + 1 + sentence.size() > maxNoteChars) {
                        out.passages.append({piece, heading});
                        piece.clear();
                    }
                    piece += (piece.isEmpty() ? QString() : QStringLiteral(" ")) + sentence;
                }
                if (!piece.isEmpty())
                    out.passages.append({piece, heading});
            }
        }
    }
    return out;
}

// The first sentences of a passage, up to about maxNoteChars.
QString note(const QString& passage) {
    QString out;
    for (const QString& sentence : TextChunker::sentences(passage)) {
        if (!out.isEmpty() && out.size() + 1 + sentence.size() > maxNoteChars)
            break;
        out += (out.isEmpty() ? QString() : QStringLiteral(" ")) + sentence;
    }
    if (out.size() > maxNoteChars)
        out = out.left(maxNoteChars - 1).trimmed() + QChar(0x2026);
    return out;
}

// `count` indexes spread evenly over `size` items, in order.
QList<qsizetype> spread(qsizetype size, int count) {
    QList<qsizetype> out;
    const qsizetype wanted = std::min<qsizetype>(size, count);
    for (qsizetype i = 0; i < wanted; ++i)
        out.append(i * size / wanted);
    return out;
}

bool mentions(const QString& text, const QString& term) {
    // The plain search first: most texts do not name the term at all.
    if (!text.contains(term, Qt::CaseInsensitive))
        return false;
    const QRegularExpression word("\\b" + QRegularExpression::escape(term) + "\\b",
                                  QRegularExpression::CaseInsensitiveOption);
    return word.match(text).hasMatch();
}

QJsonObject question(const QString& text, const QString& type, const QString& answer = {}) {
    QJsonObject out{{"question", text}, {"type", type}};
    if (!answer.isEmpty())
        out.insert("expected_answer", answer);
    return out;
}

QJsonArray strings(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

// Two key terms the text names in one sentence, with that sentence.
struct Relation {
    QString first;
    QString second;
    QString sentence;
};

QList<Relation> relations(const QList<VocabularyExtractor::Term>& terms, const QStringList& texts) {
    QList<Relation> out;
    QStringList sentences;
    for (const QString& text : texts)
        sentences.append(TextChunker::sentences(text));
    for (qsizetype i = 0; i < terms.size(); ++i)
        for (qsizetype j = i + 1; j < terms.size(); ++j)
            for (const QString& sentence : std::as_const(sentences))
                if (mentions(sentence, terms[i].term) && mentions(sentence, terms[j].term)) {
                    out.append({terms[i].term, terms[j].term, sentence});
                    break;
                }
    return out;
}

QString lowerFirst(const QString& text) {
    // Acronyms and names keep their capitals.
    if (text.size() > 1 && text[1].isUpper())
        return text;
    return text.isEmpty() ? text : text.front().toLower() + text.mid(1);
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
    const Outline parts = outline(sources);
    const Summarizer summary = Summarizer::summarize(texts.join("\n\n"));
    const QList<VocabularyExtractor::Term> terms = VocabularyExtractor::keyTerms(texts);
    const QList<Relation> related = relations(terms.mid(0, 12), texts);

    // One of "Cell" and "Cells" is enough.
    QStringList concepts;
    const auto addConcept = [&concepts](const QString& idea) {
        const QString singular = idea.endsWith('s', Qt::CaseInsensitive) ? idea.chopped(1) : idea;
        if (!concepts.contains(idea, Qt::CaseInsensitive) &&
            !concepts.contains(singular, Qt::CaseInsensitive) &&
            !concepts.contains(idea + 's', Qt::CaseInsensitive))
            concepts.append(idea);
    };
    for (const QString& idea : summary.keyConcepts)
        addConcept(idea);
    for (const auto& term : terms)
        addConcept(term.term);
    concepts = concepts.mid(0, style.keyConcepts);
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
        objectives.append("Explain the role of " + lowerFirst(idea) + " in this reading.");
    }
    if (!objectives.isEmpty())
        out.insert("learning_objectives", strings(objectives));

    // Cornell notes: a cue for each chosen passage, one term or heading asked about once.
    QStringList cues;
    QStringList notes;
    QStringList asked;
    for (const qsizetype index : spread(parts.passages.size(), style.cornellCues)) {
        const Passage& passage = parts.passages[index];
        QString cue;
        for (const auto& term : terms)
            if (!asked.contains(term.term) && mentions(passage.text, term.term)) {
                asked.append(term.term);
                cue = "What is " + term.term + ", and why does it matter here?";
                break;
            }
        if (cue.isEmpty() && !passage.heading.isEmpty() && !asked.contains(passage.heading)) {
            asked.append(passage.heading);
            cue = "What does the text say about " + lowerFirst(passage.heading) + "?";
        }
        if (cue.isEmpty())
            for (const QString& idea : summary.keyConcepts)
                if (!asked.contains(idea) && mentions(passage.text, idea)) {
                    asked.append(idea);
                    cue = "How does the text describe " + lowerFirst(idea) + "?";
                    break;
                }
        if (cue.isEmpty())
            cue = "What is the main point of this passage?";
        cues.append(cue);
        notes.append(note(passage.text));
    }
    if (!cues.isEmpty()) {
        out.insert("cornell_left_column", strings(cues));
        out.insert("cornell_right_column", strings(notes));
    }

    if (!concepts.isEmpty())
        out.insert("key_concepts", strings(concepts));

    QJsonArray vocabulary;
    for (const auto& term : terms.mid(0, style.vocabulary))
        vocabulary.append(QJsonObject{{"term", term.term},
                                      {"definition", term.definition},
                                      {"context", term.context.isEmpty() ? term.sentence : term.context}});
    if (!vocabulary.isEmpty())
        out.insert("vocabulary", vocabulary);

    // Comprehension: factual questions on the terms, then open ones on related terms or sections.
    QJsonArray comprehension;
    for (const auto& term : terms.mid(0, style.factualQuestions))
        comprehension.append(question("What is " + term.term + "?", "factual", term.definition));
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
    for (const Passage& passage : parts.passages) {
        if (open >= style.openQuestions)
            break;
        if (passage.heading.isEmpty() || passage.heading == central ||
            std::any_of(comprehension.begin(), comprehension.end(), [&](const QJsonValue& q) {
                return q.toObject().value("question").toString().contains(passage.heading);
            }))
            continue;
        comprehension.append(
            question("Why does the reading give " + passage.heading + " a section of its own?", "open",
                     "Outline: state the section's main point (\"" +
                         TextChunker::sentences(passage.text).first() + "\"); show how it supports " +
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
                           .arg(vocabulary.size())
                           .arg(vocabulary.size() == 1 ? "" : "s"));
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
