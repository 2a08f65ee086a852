#include "Quiz/QuizGenerator.h"
#include "Quiz/DistractorCloseness.h"
#include "Quiz/StatedRelation.h"
#include "Quiz/TermForms.h"
#include "Terms/KeyTermEngine.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

using Source = QuizGenerator::Source;

// A short lesson with few key terms, two of them places where a stage of respiration happens.
const QString respiration = QStringLiteral(
    "# Cellular respiration\n\n"
    "Glycolysis is the first stage of cellular respiration. The cytoplasm is the jelly-like fluid that "
    "fills a cell. Glycolysis takes place in the cytoplasm and splits glucose into pyruvate. Mitochondria "
    "are the organelles that make most of the cell's ATP. The Krebs cycle is a loop of reactions that "
    "strips electrons from fuel molecules. The Krebs cycle takes place in the mitochondria. ATP is a "
    "molecule that carries energy to every part of the cell.");

// Two processes the notes say the same things of, two places where things take place, a form of
// one term the analysis left as a term of its own, and sentences that negate or hedge.
const QStringList fermentation{
    "Glycolysis is the splitting of glucose into pyruvate.",
    "Fermentation is the breakdown of glucose when no oxygen is present.",
    "The cytoplasm is the fluid that fills a cell.",
    "Mitochondria are the organelles that make most of the cell's ATP.",
    "A mitochondrion is the organelle where aerobic respiration happens.",
    "Lactic acid is the waste product that builds up in tired muscles.",
    "Glycolysis takes place in the cytoplasm.",
    "Fermentation takes place in the cytoplasm.",
    "The Krebs cycle takes place in the mitochondria.",
    "Fermentation produces lactic acid in muscle cells.",
    "Glycolysis frees a little energy from each glucose molecule.",
    "Muscle cells turn pyruvate from glycolysis into lactic acid.",
    "An enzyme is a protein that speeds up a reaction without the enzyme being used up.",
    "Fermentation frees a little energy from each glucose molecule.",
    "Fermentation does not need oxygen.",
    "Pyruvate can enter the mitochondria when oxygen is present.",
};
const QStringList fermentationTerms{"glycolysis",   "fermentation",  "cytoplasm",
                                    "mitochondria", "mitochondrion", "lactic acid",
                                    "Krebs cycle",  "pyruvate",      "enzyme"};

// Notes whose terms differ in how alike they are: several share stems ("cell membrane", "cell
// wall", "nuclear membrane"), others share nothing.
const QString cellNotes = QStringLiteral(
    "A cell membrane is a thin layer of lipids that surrounds every cell. A cell wall is a rigid layer "
    "of cellulose outside the membrane of plant cells. A nuclear membrane is the double layer of lipids "
    "that encloses the nucleus. Osmosis is the movement of water across a membrane toward more solute. "
    "Photosynthesis is the process by which plants turn light into sugar. A ribosome is a small particle "
    "that builds proteins from amino acids. A chloroplast is an organelle in which photosynthesis takes "
    "place. An enzyme is a protein that speeds up a chemical reaction in the body. A vacuole is a storage "
    "sac for water and nutrients in plant cells. A lysosome is a sac of enzymes that digests worn-out "
    "parts of a cell.");

QStringList strings(const QJsonValue& array) {
    QStringList out;
    for (const QJsonValue& value : array.toArray())
        out.append(value.toString());
    return out;
}

QuizGenerator::Result quiz(const QString& notes, const QString& type, int count, quint32 seed,
                           const QString& difficulty = QStringLiteral("medium")) {
    return QuizGenerator::generate({{"Notes", notes}}, {type, difficulty, {}, count, seed});
}

// Sentences as the key-term engine reads them, with the given key terms ("ATP|adenosine
// triphosphate": a term and its other forms): each defined by the sentence that opens with it and
// "is" or "are", else described by the first that names it.
KeyTermEngine::Analysis lesson(const QStringList& sentences, const QStringList& terms) {
    KeyTermEngine::Analysis analysis;
    for (const QString& written : terms) {
        KeyTermEngine::Term term;
        term.forms = written.split('|');
        const QString name = term.forms.takeFirst();
        term.term = name;
        const QRegularExpression defining("^(?:the |an? )?" + QRegularExpression::escape(name) +
                                              " (?:is|are) (.+)\\.$",
                                          QRegularExpression::CaseInsensitiveOption);
        for (const QString& sentence : sentences) {
            if (const QRegularExpressionMatch match = defining.match(sentence); match.hasMatch()) {
                term.definition = match.captured(1);
                term.definition[0] = term.definition.at(0).toUpper();
                term.sentence = sentence;
                term.defined = true;
                break;
            }
            if (term.sentence.isEmpty() && TermForms(term).occursIn(sentence)) {
                term.sentence = sentence;
                term.definition = sentence.chopped(1);
            }
        }
        analysis.terms.append(term);
    }
    for (const QString& text : sentences) {
        KeyTermEngine::Sentence sentence{text, 0, {}, {}, true};
        for (int t = 0; t < analysis.terms.size(); ++t)
            if (TermForms(analysis.terms[t]).occursIn(text))
                sentence.terms.append(t);
        analysis.sentences.append(sentence);
    }
    return analysis;
}

QuizGenerator::Result fromLesson(const QStringList& sentences, const QStringList& terms, const QString& type,
                                 int count, quint32 seed,
                                 const QString& difficulty = QStringLiteral("medium"),
                                 const QuizGenerator::SisterTerms& sisters = {}) {
    return QuizGenerator::fromAnalysis(lesson(sentences, terms), {"Notes"},
                                       {type, difficulty, {}, count, seed}, {}, sisters);
}

// The forms of each key term of the notes, by the term.
QHash<QString, TermForms> formsOf(const QString& notes) {
    QHash<QString, TermForms> forms;
    for (const KeyTermEngine::Term& term : KeyTermEngine::keyTerms({notes}))
        forms.insert(term.term, TermForms(term));
    return forms;
}

// The sentence an explanation quotes: From <where>: “<sentence>”.
QString quotedSentence(const QString& explanation) {
    return explanation.mid(explanation.lastIndexOf(QStringLiteral(": “")) + 3).chopped(1);
}

QString answerOf(const QJsonObject& question) {
    return strings(question.value("options")).value(question.value("correct_answer").toInt());
}

// The words where two sentences differ, with what they share before and after taken away.
QPair<QString, QString> difference(const QString& a, const QString& b) {
    QStringList first = a.split(' ');
    QStringList second = b.split(' ');
    while (!first.isEmpty() && !second.isEmpty() && first.first() == second.first())
        first.removeFirst(), second.removeFirst();
    while (!first.isEmpty() && !second.isEmpty() && first.last() == second.last())
        first.removeLast(), second.removeLast();
    return {first.join(' '), second.join(' ')};
}

// Which way a multiple-choice question asks.
QString wayOf(const QString& question) {
    if (question.startsWith("Which term matches this definition"))
        return "definition";
    if (question.startsWith("What does “") && question.endsWith("” mean?"))
        return "meaning";
    if (question.startsWith("Which term completes this sentence"))
        return "cloze";
    return "relation";
}

double meanCloseness(const QJsonArray& questions) {
    DistractorCloseness closeness;
    double total = 0;
    int pairs = 0;
    for (const QJsonValue& value : questions) {
        const QString answer = answerOf(value.toObject());
        for (const QString& option : strings(value.toObject().value("options")))
            if (option != answer) {
                total += closeness(answer, option, false, false);
                ++pairs;
            }
    }
    return total / pairs;
}

} // namespace

// Practice-test questions from short lessons: each type fills the quiz from few terms without
// repeating itself, giving its answer away or offering a second right answer, and says why when
// the notes cannot give more.
class QuizGeneratorTest : public QObject {
    Q_OBJECT

private slots:
    void termFormsCoverNumberArticleAndAcronyms() {
        QCOMPARE(TermForms::numberForms("enzyme"), QStringList{"enzymes"});
        QCOMPARE(TermForms::numberForms("cell membranes"), QStringList{"cell membrane"});
        QVERIFY(TermForms::numberForms("mitochondria").contains("mitochondrion"));
        QVERIFY(TermForms::numberForms("mitochondrion").contains("mitochondria"));
        QVERIFY(TermForms::numberForms("nucleus").contains("nuclei"));
        QCOMPARE(TermForms::numberForms("analysis"), QStringList{"analyses"});
        QCOMPARE(TermForms::numberForms("body"), QStringList{"bodies"});
        QCOMPARE(TermForms::numberForms("glass"), QStringList{"glasses"});

        KeyTermEngine::Term atp;
        atp.term = "ATP";
        atp.forms = {"adenosine triphosphate"};
        const TermForms forms(atp);
        QVERIFY(forms.isForm("the ATP") && forms.isForm("Adenosine Triphosphate") && forms.isForm("ATPs"));
        // An acronym is matched in capitals only.
        QCOMPARE(forms.masked("Cells store ATP; at rest, adenosine  triphosphate lasts.", "_"),
                 "Cells store _; at rest, _ lasts.");
        const QStringList accepted = forms.accepted({"adenosine  triphosphate"});
        for (const QString answer : {"ATP", "the ATP", "an ATP", "adenosine triphosphate", "ATPs"})
            QVERIFY2(accepted.contains(answer, Qt::CaseInsensitive), qPrintable(answer));
        QCOMPARE(TermForms::indefiniteArticle("RNA strand"), "an");
        QCOMPARE(TermForms::indefiniteArticle("ribosome"), "a");

        KeyTermEngine::Term ribosome;
        ribosome.term = "ribosome";
        KeyTermEngine::Term ribosomes;
        ribosomes.term = "Ribosomes";
        QVERIFY(TermForms(ribosome).sharesFormWith(TermForms(ribosomes)));
        for (const QString plural : {"ribosomes", "mitochondria", "nuclei", "cell membranes"})
            QVERIFY2(TermForms::looksPlural(plural), qPrintable(plural));
        for (const QString singular : {"ribosome", "osmosis", "nucleus", "glass", "ATP"})
            QVERIFY2(!TermForms::looksPlural(singular), qPrintable(singular));
        QVERIFY(!TermForms(ribosome).sharesFormWith(forms));
    }

    void statedRelationsReadTheWordsBetweenTerms() {
        // Mentions are given as the sentence writes them: (term, text) in order.
        const auto relations = [](const QString& text, const QStringList& written) {
            QList<TermMention> mentions;
            for (int i = 0; i < written.size(); ++i) {
                const qsizetype at = text.indexOf(written[i]);
                mentions.append({i, at, at + written[i].size()});
            }
            return StatedRelation::in(text, 0, mentions);
        };
        using Kind = StatedRelation::Kind;
        QList<StatedRelation> found =
            relations("Glycolysis takes place in the cytoplasm.", {"Glycolysis", "cytoplasm"});
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].kind, Kind::location);
        QCOMPARE(found[0].question("glycolysis"), "Where does glycolysis take place?");
        QCOMPARE(found[0].reverseQuestion("cytoplasm"), "Which of these takes place in the cytoplasm?");

        found = relations("Mitochondria produce most of the ATP.", {"Mitochondria", "ATP"});
        QCOMPARE(found.value(0).question("mitochondria"), "What do mitochondria produce?");
        found = relations("Glycolysis, the oldest pathway, is the first stage of cellular respiration.",
                          {"Glycolysis", "cellular respiration"});
        QCOMPARE(found.value(0).question("glycolysis"), "What is glycolysis a stage of?");
        QCOMPARE(found.value(0).reverseQuestion("cellular respiration"),
                 "Which of these is the first stage of cellular respiration?");
        found = relations("Chloroplasts convert light energy into glucose.", {"Chloroplasts", "glucose"});
        QCOMPARE(found.value(0).question("chloroplasts"), "What do chloroplasts convert light energy into?");
        QCOMPARE(relations("A ribosome is made of RNA.", {"ribosome", "RNA"}).value(0).kind, Kind::material);
        QCOMPARE(relations("Muscle fibres make up each muscle.", {"Muscle fibres", "muscle"}).value(0).kind,
                 Kind::part);
        QCOMPARE(
            relations("A chloroplast contains chlorophyll.", {"chloroplast", "chlorophyll"}).value(0).kind,
            Kind::content);

        // A negation, an object too far on, a pronoun for what is converted, or a clause between:
        // nothing stated.
        QVERIFY(
            relations("Glycolysis does not take place in the mitochondria.", {"Glycolysis", "mitochondria"})
                .isEmpty());
        QVERIFY(relations("Glycolysis takes place in the watery part of the cell's cytoplasm.",
                          {"Glycolysis", "cytoplasm"})
                    .isEmpty());
        QVERIFY(relations("Chloroplasts convert it into glucose.", {"Chloroplasts", "glucose"}).isEmpty());
        QVERIFY(relations("Glycolysis takes place where it is warm, in the cytoplasm.",
                          {"Glycolysis", "cytoplasm"})
                    .isEmpty());
    }

    void multipleChoiceFillsFromAFewTerms() {
        const QHash<QString, TermForms> forms = formsOf(respiration);
        QVERIFY2(forms.size() <= 8, qPrintable(forms.keys().join(", ")));
        QSet<QString> ways;
        QSet<int> positions;
        for (quint32 seed = 1; seed <= 4; ++seed) {
            for (const QString difficulty : {"easy", "medium", "hard"}) {
                const QuizGenerator::Result result =
                    quiz(respiration, "multiple_choice", 10, seed, difficulty);
                QCOMPARE(result.questions.size(), 10);
                QVERIFY(result.problem.isEmpty() && result.note.isEmpty());
                QSet<QString> asked;
                for (const QJsonValue& value : result.questions) {
                    const QJsonObject question = value.toObject();
                    const QString text = question.value("question").toString();
                    const QStringList options = strings(question.value("options"));
                    const QString answer = answerOf(question);
                    QVERIFY2(!asked.contains(text), qPrintable(text));
                    asked.insert(text);
                    QCOMPARE(options.size(), QuizGenerator::choices);
                    QSet<QString> distinct;
                    for (const QString& option : options)
                        distinct.insert(TermForms::key(option));
                    QVERIFY2(distinct.size() == QuizGenerator::choices, qPrintable(options.join(" | ")));
                    positions.insert(question.value("correct_answer").toInt());
                    ways.insert(wayOf(text));
                    if (!forms.contains(answer))
                        continue; // a definition
                    QVERIFY2(!forms[answer].occursIn(text), qPrintable(text));
                    for (const QString& option : options)
                        QVERIFY2(option == answer || !forms[answer].isForm(option), qPrintable(option));
                }
                QCOMPARE(quiz(respiration, "multiple_choice", 10, seed, difficulty).questions,
                         result.questions);
            }
        }
        QCOMPARE(positions, QSet<int>({0, 1, 2, 3}));
        // From definitions both ways, from sentences and from stated relations.
        QCOMPARE(ways, QSet<QString>({"definition", "meaning", "cloze", "relation"}));
    }

    void noWrongOptionIsAlsoRight() {
        const QList<KeyTermEngine::Term> terms = lesson(fermentation, fermentationTerms).terms;
        bool askedWhere = false;
        for (quint32 seed = 1; seed <= 8; ++seed) {
            for (const QString difficulty : {"easy", "hard"}) {
                const QuizGenerator::Result result =
                    fromLesson(fermentation, fermentationTerms, "multiple_choice", 20, seed, difficulty);
                QCOMPARE(result.questions.size(), 20);
                for (const QJsonValue& value : result.questions) {
                    const QJsonObject question = value.toObject();
                    const QString text = question.value("question").toString();
                    const QStringList options = strings(question.value("options"));
                    const QString where = text + " " + options.join(" | ");
                    // Nothing in the question gives its answer away.
                    for (const KeyTermEngine::Term& term : terms)
                        QVERIFY2(term.term != answerOf(question) || !TermForms(term).occursIn(text),
                                 qPrintable(where));
                    // The notes say both take place in the cytoplasm, and free a little energy.
                    if (text.contains(QStringLiteral("_____ takes place in the cytoplasm")) ||
                        text.contains(QStringLiteral("_____ frees a little energy")) ||
                        text == "Which of these takes place in the cytoplasm?")
                        QVERIFY2(!options.contains("glycolysis") || !options.contains("fermentation"),
                                 qPrintable(where));
                    // Two forms of one term.
                    QVERIFY2(!options.contains("mitochondria") || !options.contains("mitochondrion"),
                             qPrintable(where));
                    // A negated sentence would take many an answer.
                    QVERIFY2(!text.contains("does not need oxygen"), qPrintable(text));
                    if (text.startsWith("Where does") && text.contains("Krebs cycle"))
                        QCOMPARE(text, "Where does the Krebs cycle take place?");
                    // Places first for a place, whatever the difficulty.
                    if (text == "Where does glycolysis take place?") {
                        askedWhere = true;
                        QCOMPARE(answerOf(question), "cytoplasm");
                        QVERIFY2(options.contains("mitochondria"), qPrintable(where));
                    }
                }
            }
        }
        QVERIFY(askedWhere);
    }

    void trueFalseIsBalancedAndFalseBySwappingATerm() {
        const QList<KeyTermEngine::Term> terms = lesson(fermentation, fermentationTerms).terms;
        for (quint32 seed = 1; seed <= 12; ++seed) {
            const QuizGenerator::Result result =
                fromLesson(fermentation, fermentationTerms, "true_false", 12, seed);
            QCOMPARE(result.questions.size(), 12);
            int truths = 0;
            for (const QJsonValue& value : result.questions) {
                const QJsonObject question = value.toObject();
                const QString statement =
                    question.value("question").toString().mid(QStringLiteral("True or false: ").size());
                QCOMPARE(strings(question.value("options")), QStringList({"True", "False"}));
                const QString source = quotedSentence(question.value("explanation").toString());
                if (question.value("correct_answer").toInt() == 0) {
                    ++truths;
                    QCOMPARE(statement, source);
                    continue;
                }
                // One term swapped for another of the course, never in a sentence that negates or
                // hedges, nor to one the notes say the same of.
                QVERIFY2(!source.contains(" not ") && !source.contains(" can "), qPrintable(source));
                QVERIFY2(!fermentation.contains(statement), qPrintable(statement));
                // Glycolysis and lactic acid are named together: that may be true as well.
                QVERIFY2(!statement.startsWith("Glycolysis produces lactic acid"), qPrintable(statement));
                const auto [out, in] = difference(source, statement);
                const auto formOf = [&](const QString& text) {
                    return std::find_if(terms.begin(), terms.end(), [&](const KeyTermEngine::Term& t) {
                        return TermForms(t).isForm(text);
                    });
                };
                QVERIFY2(formOf(out) != terms.end() && formOf(in) != terms.end() &&
                             !TermForms(*formOf(out)).sharesFormWith(TermForms(*formOf(in))),
                         qPrintable(source + " → " + statement));
            }
            QCOMPARE(truths, 6);
        }
        // With one term there is nothing to swap in: one true statement, and no more.
        const QuizGenerator::Result alone = fromLesson({"Osmosis is the movement of water across a membrane.",
                                                        "Osmosis moves water into the roots of plants."},
                                                       {"osmosis"}, "true_false", 4, 1);
        QCOMPARE(alone.questions.size(), 1);
        QVERIFY(alone.note.contains("as many false statements as true ones"));
    }

    void fillInTakesTheTermsForms() {
        const QHash<QString, TermForms> forms = formsOf(respiration);
        for (quint32 seed = 1; seed <= 4; ++seed) {
            const QuizGenerator::Result result = quiz(respiration, "fill_in_blank", 8, seed);
            QCOMPARE(result.questions.size(), 8);
            QStringList answers;
            for (const QJsonValue& value : result.questions)
                answers.append(strings(value.toObject().value("correct_answers")).first());
            // Every term has its turn before one is asked again.
            const qsizetype distinct = QSet<QString>(answers.begin(), answers.end()).size();
            QCOMPARE(QSet<QString>(answers.begin(), answers.begin() + distinct).size(), distinct);
            for (const QJsonValue& value : result.questions) {
                const QJsonObject question = value.toObject();
                const QString text = question.value("question").toString();
                const QStringList accepted = strings(question.value("correct_answers"));
                QVERIFY(strings(question.value("options")).isEmpty() && text.contains(QuizGenerator::blank));
                QVERIFY2(forms.contains(accepted.first()), qPrintable(accepted.first()));
                QVERIFY2(!forms[accepted.first()].occursIn(text), qPrintable(text));
                // Each blank of the sentence held an accepted answer.
                QString pattern = QRegularExpression::escape(text.mid(text.indexOf(": ") + 2));
                pattern.replace(QRegularExpression::escape(QuizGenerator::blank), "(.+?)");
                pattern.replace(QStringLiteral("a\\(n\\)"), QStringLiteral("an?"));
                pattern.replace(QStringLiteral("A\\(n\\)"), QStringLiteral("An?"));
                const QRegularExpressionMatch match =
                    QRegularExpression("^" + pattern + "$")
                        .match(quotedSentence(question.value("explanation").toString()));
                QVERIFY2(match.hasMatch(), qPrintable(text));
                for (int group = 1; group <= match.lastCapturedIndex(); ++group)
                    QVERIFY2(accepted.contains(match.captured(group), Qt::CaseInsensitive),
                             qPrintable(match.captured(group)));
                const QString term = accepted.first();
                for (const QString& answer : {term.toLower(), "the " + term})
                    QVERIFY2(accepted.contains(answer, Qt::CaseInsensitive), qPrintable(answer));
            }
        }
        // The other number, an expansion and an article, cut out or typed.
        const QuizGenerator::Result result =
            fromLesson({"Ribosomes build proteins from amino acids in every cell.",
                        "ATP, short for adenosine triphosphate, carries energy around the cell."},
                       {"ribosome", "ATP|adenosine triphosphate"}, "fill_in_blank", 5, 1);
        QCOMPARE(result.questions.size(), 2);
        for (const QJsonValue& value : result.questions) {
            const QString text = value.toObject().value("question").toString();
            const QStringList accepted = strings(value.toObject().value("correct_answers"));
            if (accepted.first() == "ribosome") {
                QCOMPARE(text, "Fill in the blank: _____ build proteins from amino acids in every cell.");
                for (const QString answer : {"ribosomes", "ribosome", "the ribosomes", "a ribosome"})
                    QVERIFY2(accepted.contains(answer, Qt::CaseInsensitive), qPrintable(answer));
            } else {
                QCOMPARE(text, "Fill in the blank: _____, short for _____, carries energy around the cell.");
                for (const QString answer : {"ATP", "adenosine triphosphate", "the ATP", "an ATP"})
                    QVERIFY2(accepted.contains(answer, Qt::CaseInsensitive), qPrintable(answer));
            }
        }
    }

    void harderQuizzesPickCloserDistractors() {
        for (quint32 seed = 1; seed <= 4; ++seed) {
            const auto questions = [&](const QString& difficulty) {
                return quiz(cellNotes, "multiple_choice", 12, seed, difficulty).questions;
            };
            const double easy = meanCloseness(questions("easy"));
            const double medium = meanCloseness(questions("medium"));
            const double hard = meanCloseness(questions("hard"));
            QVERIFY2(easy < medium && medium < hard,
                     qPrintable(QStringLiteral("%1 %2 %3").arg(easy).arg(medium).arg(hard)));
        }
    }

    void sisterTermsFillWhatTheCourseLacks() {
        const QStringList notes{"Osmosis is the movement of water across a membrane toward more solute.",
                                "Diffusion is the spread of particles from crowded places to sparse ones.",
                                "Osmosis moves water into plant roots."};
        const QStringList terms{"osmosis", "diffusion"};
        QCOMPARE(
            fromLesson(notes, terms, "multiple_choice", 5, 1).problem,
            "Multiple choice needs four different answers to choose from, and this course's notes name only "
            "2 "
            "key terms so far. Try true/false or fill in the blank, or add notes that explain more terms.");
        const QuizGenerator::SisterTerms sisters = [](const QString& term) {
            QList<WordNet::Coordinate> out{{"Diffusion", "A course term again"},
                                           {TermForms::numberForms(term).first(), "The term itself"}};
            for (const QString sister : {"filtration", "dialysis", "absorption"})
                out.append(
                    {sister + QStringLiteral(" of ") + term, QStringLiteral("The sense of ") + sister});
            return out;
        };
        const QuizGenerator::Result result =
            fromLesson(notes, terms, "multiple_choice", 5, 1, "easy", sisters);
        QCOMPARE(result.questions.size(), 5);
        for (const QJsonValue& value : result.questions) {
            // The course's other term first, then sisters; one that is a course term is not offered.
            const QStringList options = strings(value.toObject().value("options"));
            const qsizetype fromSisters = options.filter(" of osmosis").size() +
                                          options.filter(" of diffusion").size() +
                                          options.filter("The sense of").size();
            QCOMPARE(fromSisters, QuizGenerator::choices - 2);
            QVERIFY(!options.contains("A course term again") && !options.contains("The term itself"));
            QVERIFY(!options.contains("osmoses") && !options.contains("diffusions"));
        }
    }

    void aTopicNarrowsTheQuestionsToItsPassages() {
        const QString notes = QStringLiteral(
            "# Photosynthesis\n\nA chloroplast is an organelle that captures light.\n\nChlorophyll is a "
            "green "
            "pigment that absorbs red and blue light.\n\n# Cell division\n\nMitosis is the division of a "
            "nucleus into two identical nuclei.\n\nCytokinesis is the splitting of the cytoplasm after "
            "mitosis.\n\nA spindle is a set of fibres that pulls chromosomes apart, and glucose made by "
            "photosynthesis pays for it.");
        const QuizGenerator::Result result =
            QuizGenerator::generate({{"Biology", notes}}, {"fill_in_blank", "easy", "photosynthesis", 20, 7});
        QSet<QString> terms;
        for (const QJsonValue& question : result.questions)
            terms.insert(strings(question.toObject().value("correct_answers")).first().toLower());
        QVERIFY2(terms.contains("chlorophyll") && terms.contains("chloroplast"),
                 qPrintable(terms.values().join(", ")));
        QVERIFY2(!terms.contains("mitosis") && !terms.contains("cytokinesis"),
                 qPrintable(terms.values().join(", ")));

        const QuizGenerator::Result nothing = QuizGenerator::generate(
            {{"Biology", notes}}, {"true_false", "easy", "  plate   tectonics ", 5, 7});
        QVERIFY(nothing.questions.isEmpty());
        QCOMPARE(nothing.problem,
                 "Nothing in this course's documents mentions “plate tectonics”. Try another "
                 "topic, or leave it empty.");
    }

    void littleOrForeignMaterialSaysWhy() {
        const QString oneTerm =
            QStringLiteral("Osmosis is the movement of water across a membrane toward more "
                           "solute. Osmosis moves water into the roots of plants.");
        const QuizGenerator::Result few = quiz(oneTerm, "fill_in_blank", 10, 3);
        QVERIFY(!few.questions.isEmpty() && few.questions.size() < 10);
        QVERIFY(few.problem.isEmpty());
        QVERIFY2(few.note.startsWith(QStringLiteral("This quiz has %1 of the 10 questions you asked for.")
                                         .arg(few.questions.size())),
                 qPrintable(few.note));

        const QString french = QStringLiteral(
            "La respiration cellulaire est le processus par lequel les cellules libèrent l'énergie du "
            "glucose. "
            "La glycolyse se déroule dans le cytoplasme et produit deux molécules de pyruvate. Le cycle de "
            "Krebs a lieu dans les mitochondries, qui fabriquent la plus grande partie de l'ATP de la "
            "cellule.");
        QCOMPARE(quiz(french, "multiple_choice", 10, 1).problem, QuizGenerator::notEnglish());

        for (const QString& none : {QString(), QStringLiteral("  \n\n  ")})
            QCOMPARE(quiz(none, "true_false", 5, 1).problem, QuizGenerator::nothingToQuiz());
        QCOMPARE(QuizGenerator::generate({}, {"true_false", "easy", {}, 5, 1}).problem,
                 QuizGenerator::nothingToQuiz());
    }
};

QTEST_GUILESS_MAIN(QuizGeneratorTest)
#include "QuizGeneratorTest.moc"
