#include "Quiz/QuizGenerator.h"

#include "Quiz/DistractorCloseness.h"
#include "Quiz/FillInBlankQuestions.h"
#include "Quiz/MultipleChoiceQuestions.h"
#include "Quiz/QuizDistractors.h"
#include "Quiz/QuizMaterial.h"
#include "Quiz/QuizPicker.h"
#include "Quiz/TopicPassages.h"
#include "Quiz/TrueFalseQuestions.h"

#include <memory>

namespace {

QString counted(qsizetype count, const QString& thing) {
    return QString::number(count) + ' ' + thing + (count == 1 ? QString() : QStringLiteral("s"));
}

QString typeLabel(const QString& type) {
    if (type == QLatin1String("true_false"))
        return QStringLiteral("true/false");
    if (type == QLatin1String("fill_in_blank"))
        return QStringLiteral("fill-in-the-blank");
    return QStringLiteral("multiple-choice");
}

QString quoted(const QString& text) {
    return QStringLiteral("“") + text + QStringLiteral("”");
}

// "This course's notes", or the part of them a topic keeps.
QString theNotes(const QString& topic) {
    return topic.isEmpty() ? QStringLiteral("this course's notes")
                           : QStringLiteral("this course's notes about ") + quoted(topic.simplified());
}

QString capitalised(QString text) {
    text[0] = text.at(0).toUpper();
    return text;
}

// Why the notes give no question of the type.
QString noQuestions(const QuizGenerator::Request& request, qsizetype terms) {
    const QString notes = theNotes(request.topic);
    if (request.questionType == QLatin1String("multiple_choice") && terms < QuizGenerator::choices)
        return QStringLiteral("Multiple choice needs four different answers to choose from, and ") + notes +
               QStringLiteral(" name only ") + counted(terms, QStringLiteral("key term")) +
               QStringLiteral(" so far. Try true/false or fill in the blank, or add notes that explain more "
                              "terms.");
    return QStringLiteral("No ") + typeLabel(request.questionType) +
           QStringLiteral(" question could be written from ") + notes + QStringLiteral(": they name ") +
           counted(terms, QStringLiteral("key term")) +
           QStringLiteral(", but no full sentence says enough about them. Try another question type, or add "
                          "notes written in full sentences.");
}

// Why the notes give fewer questions than asked.
QString fewerQuestions(const QuizGenerator::Request& request, qsizetype made, qsizetype terms) {
    QString why;
    if (request.questionType == QLatin1String("true_false"))
        why =
            QStringLiteral("every true/false question they allow with as many false statements as true ones");
    else if (request.questionType == QLatin1String("fill_in_blank"))
        why = QStringLiteral("every sentence about them that a blank can be cut into");
    else
        why = QStringLiteral("every multiple-choice question they allow without asking the same thing twice");
    return QStringLiteral("This quiz has ") + QString::number(made) + QStringLiteral(" of the ") +
           QString::number(request.count) + QStringLiteral(" questions you asked for. ") +
           capitalised(theNotes(request.topic)) + QStringLiteral(" name ") +
           counted(terms, QStringLiteral("key term")) + QStringLiteral(", and that is ") + why +
           QStringLiteral(". Notes that explain more terms make longer quizzes.");
}

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

QString QuizGenerator::notEnglish() {
    return QStringLiteral("This course's notes don't read as English, and practice tests can only be written "
                          "from English notes for now.");
}

QuizGenerator::Result QuizGenerator::generate(const QList<Source>& sources, const Request& request,
                                              const RelatedWords& related, const SisterTerms& sisters) {
    DistractorCloseness stems;
    QStringList texts;
    QStringList names;
    for (const Source& source : sources) {
        texts.append(request.topic.isEmpty() ? source.text
                                             : TopicPassages::of(source.text, request.topic, stems));
        names.append(source.name);
    }
    const bool empty = texts.join(QString()).trimmed().isEmpty();
    if (empty && !request.topic.isEmpty())
        return {{},
                QStringLiteral("Nothing in this course's documents mentions ") +
                    quoted(request.topic.simplified()) +
                    QStringLiteral(". Try another topic, or leave it empty."),
                {}};
    if (empty)
        return {{}, nothingToQuiz(), {}};
    return fromAnalysis(KeyTermEngine::analyze(texts), names, request, related, sisters);
}

QuizGenerator::Result QuizGenerator::fromAnalysis(KeyTermEngine::Analysis analysis,
                                                  const QStringList& documents, const Request& request,
                                                  const RelatedWords& related, const SisterTerms& sisters) {
    if (!analysis.english)
        return {{}, notEnglish(), {}};
    if (analysis.terms.isEmpty())
        return {{}, nothingToQuiz(), {}};
    const QuizMaterial material(std::move(analysis));
    QRandomGenerator random(request.seed);
    QuizDistractors distractors(material, request.difficulty, related, sisters, random);
    const QuizQuestionWriter::Tools tools{material, distractors, random, documents};
    std::unique_ptr<QuizQuestionWriter> writer;
    if (request.questionType == QLatin1String("true_false"))
        writer = std::make_unique<TrueFalseQuestions>(tools);
    else if (request.questionType == QLatin1String("fill_in_blank"))
        writer = std::make_unique<FillInBlankQuestions>(tools);
    else
        writer = std::make_unique<MultipleChoiceQuestions>(tools);
    const qsizetype terms = material.terms().size();
    Result result{QuizPicker(*writer, int(terms), random).pick(request.count), {}, {}};
    if (result.questions.isEmpty())
        result.problem = noQuestions(request, terms);
    else if (result.questions.size() < request.count)
        result.note = fewerQuestions(request, result.questions.size(), terms);
    return result;
}
