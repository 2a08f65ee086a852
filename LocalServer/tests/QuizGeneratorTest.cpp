#include "QuizGenerator.h"
#include "DistractorCloseness.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

using Source = QuizGenerator::Source;

// Notes whose terms differ in how alike they are: several share stems ("cell membrane", "cell
// wall", "membrane potential"), others share nothing.
const QString cellNotes =
    QStringLiteral(R"(A cell membrane is a thin layer of lipids that surrounds every cell.
A cell wall is a rigid layer of cellulose outside the membrane of plant cells.
Membrane potential is the difference in voltage across the membrane of a cell.
A nuclear membrane is the double layer of lipids that encloses the nucleus.
Osmosis is the movement of water across a membrane toward more solute.
Photosynthesis is the process by which plants turn light into sugar.
A ribosome is a small particle that builds proteins from amino acids.
Mitochondria are the organelles that release energy from food molecules.
A chloroplast is an organelle in which photosynthesis takes place.
Glycolysis is the splitting of glucose into two molecules of pyruvate.
An enzyme is a protein that speeds up a chemical reaction in the body.
A vacuole is a storage sac for water and nutrients in plant cells.
Cytoplasm is the jelly-like fluid that fills the inside of a cell.
A lysosome is a sac of enzymes that digests worn-out parts of a cell.
The nucleolus is the dense region of the nucleus where ribosomes are assembled.
A centriole is a small cylinder of microtubules that organises cell division.)");

// Made-up course notes: a heading per section, prose with "X is a …" definitions, glossary
// lines, and filler sentences that use the terms again.
QString randomNotes(quint32 seed) {
    QRandomGenerator random(seed);
    const auto word = [&] {
        QString out;
        for (int letters = 4 + int(random.bounded(6)); letters > 0; --letters)
            out += QChar('a' + int(random.bounded(26)));
        return out;
    };
    const auto phrase = [&](int words) {
        QStringList out;
        for (int i = 0; i < words; ++i)
            out.append(word());
        return out.join(' ');
    };
    QStringList terms;
    for (int i = 0; i < 6 + int(random.bounded(20)); ++i)
        terms.append(random.bounded(3) == 0 ? word() + ' ' + word() : word());
    QStringList paragraphs;
    for (int i = 0; i < terms.size(); ++i) {
        if (i % 5 == 0)
            paragraphs.append("# " + phrase(2));
        const QString& term = terms[i];
        if (random.bounded(4) == 0)
            paragraphs.append(term + " — the " + phrase(6 + int(random.bounded(8))));
        else
            paragraphs.append(QString(term).replace(0, 1, term.at(0).toUpper()) + " is a " +
                              phrase(5 + int(random.bounded(10))) + ". The " + phrase(3) + " " +
                              terms.at(int(random.bounded(qint64(terms.size())))) + " " + phrase(4) + ".");
    }
    return paragraphs.join("\n\n");
}

QStringList strings(const QJsonValue& array) {
    QStringList out;
    for (const QJsonValue& value : array.toArray())
        out.append(value.toString());
    return out;
}

QString normalized(const QString& text) {
    static const QRegularExpression punctuation(R"([^\w\s])");
    return QString(text).toLower().remove(punctuation).simplified();
}

// The sentence an explanation quotes: From <where>: “<sentence>”.
QString quotedSentence(const QString& explanation) {
    const qsizetype open = explanation.lastIndexOf(QStringLiteral(": “"));
    return explanation.mid(open + 3).chopped(1);
}

double meanCloseness(const QJsonArray& questions) {
    DistractorCloseness closeness;
    double total = 0;
    int pairs = 0;
    for (const QJsonValue& value : questions) {
        const QJsonObject question = value.toObject();
        const QStringList options = strings(question.value("options"));
        const QString answer = options.at(question.value("correct_answer").toInt());
        for (const QString& option : options)
            if (option != answer) {
                total += closeness(answer, option, false, false);
                ++pairs;
            }
    }
    return total / pairs;
}

} // namespace

// Practice-test questions from notes: well-formed for every type and difficulty over many
// documents, closer distractors when harder, narrowed to a topic, and honest about too little text.
class QuizGeneratorTest : public QObject {
    Q_OBJECT

private slots:
    void questionsAreWellFormedOverManyDocuments() {
        QSet<int> answerPositions;
        int trueAnswers = 0;
        int falseAnswers = 0;
        for (quint32 seed = 1; seed <= 24; ++seed) {
            const QList<Source> sources{{"Notes", randomNotes(seed)}};
            for (const QString type : {"multiple_choice", "true_false", "fill_in_blank"}) {
                for (const QString difficulty : {"easy", "medium", "hard"}) {
                    const QuizGenerator::Request request{type, difficulty, {}, 20, seed};
                    const QuizGenerator::Result result = QuizGenerator::generate(sources, request);
                    const QString where =
                        QStringLiteral("document %1, %2, %3").arg(seed).arg(type, difficulty);
                    QVERIFY2(!result.questions.isEmpty(), qPrintable(where + ": " + result.problem));
                    QVERIFY2(result.problem.isEmpty(), qPrintable(where));
                    QSet<QString> asked;
                    for (const QJsonValue& value : result.questions) {
                        const QJsonObject question = value.toObject();
                        const QString text = question.value("question").toString();
                        const QStringList options = strings(question.value("options"));
                        QCOMPARE(question.value("question_type").toString(), type);
                        QVERIFY2(!asked.contains(text), qPrintable(where + ": asked twice: " + text));
                        asked.insert(text);
                        QVERIFY(question.value("explanation").toString().contains("From Notes"));
                        if (type == "fill_in_blank") {
                            const QStringList accepted = strings(question.value("correct_answers"));
                            QVERIFY(options.isEmpty());
                            QVERIFY(text.contains(QuizGenerator::blank));
                            // Every blank holds an accepted answer in the quoted source sentence.
                            QString pattern = QRegularExpression::escape(text.mid(text.indexOf(": ") + 2));
                            pattern.replace(QRegularExpression::escape(QuizGenerator::blank), "(.+?)");
                            const QRegularExpressionMatch match =
                                QRegularExpression("^" + pattern + "$")
                                    .match(quotedSentence(question.value("explanation").toString()));
                            QVERIFY2(match.hasMatch(), qPrintable(where + ": " + text));
                            for (int group = 1; group <= match.lastCapturedIndex(); ++group)
                                QVERIFY2(accepted.contains(match.captured(group), Qt::CaseInsensitive),
                                         qPrintable(where + ": " + match.captured(group)));
                            asked.insert(accepted.first());
                            continue;
                        }
                        const int correct = question.value("correct_answer").toInt(-1);
                        QVERIFY(correct >= 0 && correct < options.size());
                        if (type == "true_false") {
                            QCOMPARE(options, QStringList({"True", "False"}));
                            (correct == 0 ? trueAnswers : falseAnswers)++;
                            continue;
                        }
                        QCOMPARE(options.size(), QuizGenerator::choices);
                        QSet<QString> distinct;
                        for (const QString& option : options)
                            distinct.insert(normalized(option));
                        QVERIFY2(distinct.size() == QuizGenerator::choices && !distinct.contains(QString()),
                                 qPrintable(where + ": " + options.join(" | ")));
                        answerPositions.insert(correct);
                    }
                    QVERIFY(result.questions.size() <= 20);
                    // Same input, same seed: the same quiz.
                    QCOMPARE(QuizGenerator::generate(sources, request).questions, result.questions);
                }
            }
        }
        QCOMPARE(answerPositions, QSet<int>({0, 1, 2, 3}));
        QVERIFY(trueAnswers > 50 && falseAnswers > 50);
    }

    void harderQuizzesPickCloserDistractors() {
        const QList<Source> sources{{"Cell notes", cellNotes}};
        for (quint32 seed = 1; seed <= 5; ++seed) {
            const auto quiz = [&](const QString& difficulty) {
                return QuizGenerator::generate(sources, {"multiple_choice", difficulty, {}, 12, seed})
                    .questions;
            };
            const double easy = meanCloseness(quiz("easy"));
            const double medium = meanCloseness(quiz("medium"));
            const double hard = meanCloseness(quiz("hard"));
            QVERIFY2(easy < medium && medium < hard,
                     qPrintable(QStringLiteral("%1 %2 %3").arg(easy).arg(medium).arg(hard)));
        }
        // A "hard" question about a cell membrane offers the other membranes and walls.
        DistractorCloseness closeness;
        QVERIFY(closeness("cell membrane", "cell wall", false, false) >
                closeness("cell membrane", "glycolysis", false, false));
        QVERIFY(closeness("osmosis", "diffusion", true, true) >
                closeness("osmosis", "diffusion", false, false));
    }

    void aTopicNarrowsTheQuestionsToItsPassages() {
        const QString notes = QStringLiteral(
            "# Photosynthesis\n\nA chloroplast is an organelle that captures light.\n\nChlorophyll is a "
            "green "
            "pigment that absorbs red and blue light.\n\nStroma is the fluid around the thylakoids.\n\n"
            "# Cell division\n\nMitosis is the division of a nucleus into two identical nuclei.\n\nA "
            "centromere "
            "is the region that joins two sister chromatids.\n\nCytokinesis is the splitting of the "
            "cytoplasm "
            "after mitosis.\n\nA spindle is a set of fibres that pulls chromosomes apart, and glucose made "
            "by "
            "photosynthesis pays for it.\n\n# Respiration\n\nGlycolysis is the splitting of glucose into "
            "pyruvate.");
        const QList<Source> sources{{"Biology", notes}};
        const QuizGenerator::Result result =
            QuizGenerator::generate(sources, {"fill_in_blank", "easy", "photosynthesis", 20, 7});
        QStringList terms;
        for (const QJsonValue& question : result.questions)
            terms.append(strings(question.toObject().value("correct_answers")).first());
        terms.sort();
        // The section under its heading, and the one paragraph elsewhere that mentions it.
        QCOMPARE(terms, QStringList({"chlorophyll", "chloroplast", "spindle", "stroma"}));

        const QuizGenerator::Result nothing =
            QuizGenerator::generate(sources, {"true_false", "easy", "  plate   tectonics ", 5, 7});
        QVERIFY(nothing.questions.isEmpty());
        QCOMPARE(nothing.problem,
                 "Nothing in this course's documents mentions “plate tectonics”. Try another "
                 "topic, or leave it empty.");
    }

    void offeredDefinitionsNeverHoldABlank() {
        // Endocytosis is defined by a sentence that names it: shown as an answer, its blank would
        // mark the right one whenever endocytosis is asked.
        const QList<Source> sources{
            {"Membranes",
             "Diffusion is the movement of molecules from high to low concentration.\n\n"
             "Osmosis is the diffusion of water across a selectively permeable membrane.\n\n"
             "A channel protein is a membrane protein that forms a pore through which ions pass.\n\n"
             "Endocytosis, which brings large particles into the cell, folds the membrane inward.\n\n"
             "A vesicle is a small sac of membrane that carries cargo between compartments."}};
        int definitionsOffered = 0;
        for (int seed = 1; seed <= 12; ++seed) {
            const QuizGenerator::Result result =
                QuizGenerator::generate(sources, {"multiple_choice", "medium", {}, 5, quint32(seed)});
            for (const QJsonValue& value : result.questions) {
                const QJsonObject question = value.toObject();
                const QStringList options = strings(question.value("options"));
                for (const QString& option : options)
                    QVERIFY2(!option.contains(QuizGenerator::blank), qPrintable(option));
                definitionsOffered += question.value("question").toString().startsWith("What does");
            }
        }
        QVERIFY(definitionsOffered > 0);
    }

    void tooFewTermsGiveWhatTheyCanOrSayWhy() {
        const QList<Source> two{{"Notes",
                                 "Osmosis is the movement of water across a membrane.\n\nDiffusion is "
                                 "the spread of particles from crowded places to sparse ones."}};
        const QuizGenerator::Result trueFalse =
            QuizGenerator::generate(two, {"true_false", "hard", {}, 10, 3});
        QCOMPARE(trueFalse.questions.size(), 2);
        QVERIFY(trueFalse.questions[0].toObject().value("question").toString() !=
                trueFalse.questions[1].toObject().value("question").toString());
        QCOMPARE(
            QuizGenerator::generate(two, {"multiple_choice", "hard", {}, 10, 3}).problem,
            "Multiple choice needs at least 4 key terms, and this course's documents define 2 so far. Try "
            "true/false or fill in the blank.");
        for (const QList<Source>& none :
             {QList<Source>(), QList<Source>{{"Notes", "Read chapter four by Monday."}}})
            QCOMPARE(QuizGenerator::generate(none, {"fill_in_blank", "easy", {}, 5, 1}).problem,
                     QuizGenerator::nothingToQuiz());
    }
};

QTEST_GUILESS_MAIN(QuizGeneratorTest)
#include "QuizGeneratorTest.moc"
