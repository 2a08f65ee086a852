#include "Terms/KeyTermEngine.h"
#include "Terms/NoteReader.h"

#include <QTest>

namespace {

using Term = KeyTermEngine::Term;

std::optional<Term> termNamed(const QList<Term>& terms, const QString& name) {
    for (const Term& term : terms)
        if (term.term == name || term.forms.contains(name))
            return term;
    return std::nullopt;
}

QStringList namesOf(const QList<Term>& terms) {
    QStringList names;
    for (const Term& term : terms)
        names.append(term.term);
    return names;
}

} // namespace

class KeyTermEngineTest : public QObject {
    Q_OBJECT

private slots:
    // Each way a teacher marks a term gives a card with the clause that defines it.
    void definitionsOfEachShape_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("term");
        QTest::addColumn<QString>("definition");
        QTest::newRow("copula") << "Glycolysis is the first stage of respiration and runs in the cytoplasm."
                                << "glycolysis"
                                << "The first stage of respiration and runs in the cytoplasm";
        QTest::newRow("alias")
            << "The Krebs cycle, also called the citric acid cycle, is a loop of eight reactions "
               "in the matrix."
            << "Krebs cycle"
            << "A loop of eight reactions in the matrix";
        QTest::newRow("called at the end")
            << "Each thylakoid encloses a narrow space. The space inside a thylakoid is called the lumen."
            << "lumen"
            << "The space inside a thylakoid";
        QTest::newRow("they call this") << "When the price of tea goes up, people buy less of it. Economists "
                                           "call this inverse relationship "
                                           "the law of demand."
                                        << "law of demand"
                                        << "When the price of tea goes up, people buy less of it";
        QTest::newRow("appositive") << "In the matrix, pyruvate, a three-carbon molecule, loses one carbon."
                                    << "pyruvate"
                                    << "A three-carbon molecule";
        QTest::newRow("refers to") << "Chemiosmosis refers to the flow of protons back through ATP synthase."
                                   << "chemiosmosis"
                                   << "The flow of protons back through ATP synthase";
        QTest::newRow("glossary line") << "Fermentation: the regeneration of NAD+ without oxygen.\n"
                                       << "fermentation"
                                       << "The regeneration of NAD+ without oxygen";
        QTest::newRow("glossary dash") << "Entropy — a measure of how spread out energy is in a system\n"
                                       << "entropy"
                                       << "A measure of how spread out energy is in a system";
        QTest::newRow("clause after a colon")
            << "Lewis widened the idea further: a Lewis acid is an electron-pair acceptor."
            << "Lewis acid"
            << "An electron-pair acceptor";
        QTest::newRow("copula after an aside")
            << "The power of a test, 1 − β, is the chance of rejecting a false null hypothesis."
            << "power"
            << "The chance of rejecting a false null hypothesis";
        QTest::newRow("gerund named at the end")
            << "This creation of new ocean floor is called sea-floor spreading."
            << "sea-floor spreading"
            << "This creation of new ocean floor";
        QTest::newRow("this is a") << "Because the alternative points one way, this is a one-tailed test."
                                   << "one-tailed test"
                                   << "Because the alternative points one way, this is a one-tailed test";
        QTest::newRow("run-on notes") << "memory has three steps, encoding gets the info in, storage keeps "
                                         "it, retrieval gets it back out "
                                         "later on a test, the modal model has three stores, sensory memory "
                                         "holds a lot for a split second, "
                                         "maintenance rehearsal = repeating it over and over, elaborative "
                                         "rehearsal = linking it to meaning "
                                         "you already know"
                                      << "maintenance rehearsal"
                                      << "Repeating it over and over";
        // An aside in brackets keeps its commas, and "and" can open the next definition.
        QTest::newRow("second definition after and")
            << "forgetting has two causes, decay is fading over time, and interference is the other one, "
               "proactive interference is when old info blocks new learning (an old locker code, say, or an "
               "old phone number) and retroactive interference is new info blocking the old, so review "
               "often and space it out over the week before the test"
            << "retroactive interference"
            << "New info blocking the old";
    }
    void definitionsOfEachShape() {
        QFETCH(QString, text);
        QFETCH(QString, term);
        QFETCH(QString, definition);
        const QList<Term> terms = KeyTermEngine::keyTerms({text});
        const auto found = termNamed(terms, term);
        QVERIFY2(found, qPrintable(namesOf(terms).join(", ")));
        QCOMPARE(found->definition, definition);
        QVERIFY(found->defined);
    }

    // A short heading over its paragraph is a term that the paragraph describes; a title with a
    // colon is two headings, never a glossary line; a generic heading or one that reads as a
    // sentence names nothing.
    void headings() {
        const QString notes = QStringLiteral(
            "Photosynthesis: The Light-Dependent Reactions\n\n"
            "# Introduction\n\nPlants turn light into chemical energy in two linked stages.\n\n"
            "## Photosystem II\n\nIt absorbs light at 680 nm and splits water to replace lost electrons.\n\n"
            "Textiles lead the way\n- Flying shuttle – John Kay, 1733\n");
        const QList<Term> terms = KeyTermEngine::keyTerms({notes});
        const QStringList names = namesOf(terms);
        QVERIFY2(!names.contains("introduction") && !names.contains("textiles lead the way") &&
                     !names.contains("photosynthesis = The Light-Dependent Reactions"),
                 qPrintable(names.join(", ")));
        const auto photosystem = termNamed(terms, "Photosystem II");
        QVERIFY2(photosystem, qPrintable(names.join(", ")));
        // The pronoun that opens the paragraph stands for the heading's term.
        QCOMPARE(photosystem->definition,
                 "Photosystem II absorbs light at 680 nm and splits water to replace lost electrons");
        QCOMPARE(photosystem->heading, "Photosystem II");
        const auto shuttle = termNamed(terms, "flying shuttle");
        QVERIFY2(shuttle, qPrintable(names.join(", ")));
        QCOMPARE(shuttle->definition, "John Kay, 1733");
    }

    // Forms of one term are one card, written as the text writes it inside sentences; an acronym
    // and its expansion are one term.
    void casingAndForms() {
        const QString notes = QStringLiteral(
            "Cells store energy as adenosine triphosphate (ATP). ATP is the cell's energy currency, and the "
            "Krebs cycle makes some ATP directly. The Krebs cycle turns twice for each glucose.\n\n"
            "A Type I error is the rejection of a null hypothesis that is true. Each Type I error costs "
            "trust.\n\n"
            "A Brønsted–Lowry acid is a proton donor. An α-helix is a coil held by hydrogen bonds.");
        const QList<Term> terms = KeyTermEngine::keyTerms({notes});
        const QStringList names = namesOf(terms);
        QVERIFY2(names.contains("Krebs cycle") && names.contains("Type I error") &&
                     names.contains("Brønsted–Lowry acid") && names.contains("α-helix"),
                 qPrintable(names.join(", ")));
        const auto atp = termNamed(terms, "ATP");
        QVERIFY2(atp, qPrintable(names.join(", ")));
        QVERIFY(atp->term == "adenosine triphosphate" || atp->term == "ATP");
        QVERIFY(atp->forms.contains("ATP") || atp->term == "ATP");
        QCOMPARE(names.count("ATP") + names.count("adenosine triphosphate"), 1);
        QVERIFY(!names.contains("Atp") && !names.contains("atp"));
    }

    // A second name in brackets or after "aka" is a form of the term; a phrase naming another kind
    // of what a marked term is counts from its first use, unless it names one thing ("Sperling").
    void otherNamesAndKinds() {
        const QList<Term> terms = KeyTermEngine::keyTerms(
            {"At a divergent (constructive) boundary the plates move apart. Explicit memory aka "
             "declarative memory holds facts you can recall. Iconic memory is a visual store that lasts "
             "under a second. Echoic memory is an auditory store that lasts a few seconds. Information "
             "flows from sensory memory, short-term memory and then long-term storage. Early work on "
             "Sperling memory used letter grids."});
        const QStringList names = namesOf(terms);
        QCOMPARE(termNamed(terms, "divergent boundary").value_or(Term{}).forms,
                 QStringList{"constructive boundary"});
        QCOMPARE(termNamed(terms, "explicit memory").value_or(Term{}).forms,
                 QStringList{"declarative memory"});
        QVERIFY2(names.contains("sensory memory") && names.contains("short-term memory") &&
                     !names.contains("Sperling memory"),
                 qPrintable(names.join(", ")));
        for (const QString& name : names)
            QVERIFY2(!name.contains(','), qPrintable(name));
    }

    // A phrase used almost only inside a longer term is not a term of its own; a lone everyday
    // word is never one, however often it recurs.
    void recurringPhrases() {
        const QString notes = QStringLiteral(
            "The electron transport chain sits in the inner membrane. Electrons pass down the electron "
            "transport chain step by step. As they move, the electron transport chain pumps protons. "
            "People study this in class and people like it.");
        const QStringList names = namesOf(KeyTermEngine::keyTerms({notes}));
        QVERIFY2(names.contains("electron transport chain"), qPrintable(names.join(", ")));
        QVERIFY(!names.contains("transport chain") && !names.contains("chain") && !names.contains("people"));
    }

    // The sentences name the terms they use, in order, so that questions can be built on them.
    void sentencesLinkTheirTerms() {
        const auto analysis = KeyTermEngine::analyze(
            {"Glycolysis is the splitting of glucose into pyruvate. Pyruvate is a three-carbon acid that "
             "enters the mitochondrion. After glycolysis, pyruvate moves on."});
        QVERIFY(analysis.english);
        const QStringList names = namesOf(analysis.terms);
        const qsizetype glycolysis = names.indexOf("glycolysis");
        const qsizetype pyruvate = names.indexOf("pyruvate");
        QVERIFY2(glycolysis >= 0 && pyruvate >= 0, qPrintable(names.join(", ")));
        QCOMPARE(analysis.sentences.last().terms, (QList<int>{int(glycolysis), int(pyruvate)}));
        QVERIFY(analysis.sentences.last().prose);
    }

    // A leading pronoun becomes the term only where it stands for it: after a sentence naming the
    // term. Elsewhere the sentence says nothing of the term it mentions.
    void pronounsStandForTheTermBefore() {
        const QList<Term> terms = KeyTermEngine::keyTerms(
            {"An enzyme is a protein that speeds up a chemical reaction. It lowers the **activation energy** "
             "of the reaction by holding the substrates close together."});
        const auto enzyme = termNamed(terms, "enzyme");
        QVERIFY2(enzyme, qPrintable(namesOf(terms).join(", ")));
        QCOMPARE(enzyme->context,
                 "Enzyme lowers the activation energy of the reaction by holding the substrates "
                 "close together.");
        if (const auto energy = termNamed(terms, "activation energy"))
            QVERIFY2(!energy->definition.startsWith("Activation energy lowers"),
                     qPrintable(energy->definition));
    }

    // Text in another language gives no English terms; a lone title gives none either.
    void badInput() {
        const auto spanish = KeyTermEngine::analyze(
            {"La fotosíntesis es el proceso por el cual las plantas transforman la luz del sol en energía "
             "química. Ocurre en los cloroplastos, donde la clorofila capta la luz y libera oxígeno."});
        QVERIFY(!spanish.english);
        QVERIFY(spanish.terms.isEmpty());
        QVERIFY(KeyTermEngine::keyTerms({"Cell Biology 101"}).isEmpty());
        QVERIFY(KeyTermEngine::keyTerms({""}).isEmpty());
    }

    // Scanning damage: a word broken at a line end is joined unless both halves are words, page
    // numbers and running heads go, and a hard-wrapped paragraph reads as one.
    void scannedText() {
        const QString page = QStringLiteral("86   PHYSICAL GEOGRAPHY\n"
                                            "The asthenosphere is a weak layer of the up-\n"
                                            "per mantle under the litho-\nsphere, and sea-\nfloor spreading "
                                            "adds new crust.\n\n87\n\nPHYSICAL GEOGRAPHY   87\n");
        QCOMPARE(NoteReader::repaired(page).simplified(),
                 "The asthenosphere is a weak layer of the upper mantle under the lithosphere, and sea-floor "
                 "spreading adds new crust.");
        const QList<NoteReader::Block> blocks = NoteReader::read(page);
        QCOMPARE(blocks.size(), 1);
        QCOMPARE(blocks.first().kind, NoteReader::Kind::prose);
    }

    // A line that opens "term:" but runs on for a paragraph is prose, not a glossary line.
    void glossaryLineLimit() {
        QString meaning = QStringLiteral("word ").repeated(NoteReader::maxGlossaryMeaningWords).trimmed();
        QCOMPARE(NoteReader::read("Topic: " + meaning).first().kind, NoteReader::Kind::glossary);
        QCOMPARE(NoteReader::read("Topic: " + meaning + " more").first().kind, NoteReader::Kind::prose);
    }
};

QTEST_GUILESS_MAIN(KeyTermEngineTest)
#include "KeyTermEngineTest.moc"
