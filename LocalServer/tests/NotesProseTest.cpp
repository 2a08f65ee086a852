#include "Feed/ConceptBody.h"
#include "Library/SectionSummary.h"
#include "Library/Summarizer.h"
#include "Terms/KeyConceptLine.h"
#include "Terms/StandaloneSentence.h"

#include <QTest>

namespace {

using Analysis = KeyTermEngine::Analysis;

// Notes as the key-term engine reads them, written out by hand so that each rule is tried on
// exactly the sentences it is about.
class Notes {
public:
    // A key term; the first sentence `says` that names it as `definedBy` is its defining sentence.
    Notes& term(const QString& name, const QString& definition, const QStringList& forms = {}) {
        KeyTermEngine::Term term;
        term.term = name;
        term.definition = definition;
        term.forms = forms;
        term.defined = true;
        analysis_.terms.append(term);
        return *this;
    }
    Notes& heading(const QString& text, int source = 0) {
        heading_ = text;
        analysis_.sections.append({text, source, {}});
        add(text, {}, source, false);
        return *this;
    }
    Notes& says(const QString& text, const QList<int>& terms = {}, int source = 0) {
        if (analysis_.sections.isEmpty() || analysis_.sections.last().source != source) {
            heading_.clear();
            analysis_.sections.append({{}, source, {}});
        }
        add(text, terms, source, true);
        return *this;
    }
    // The last sentence defines `term`.
    Notes& defining(int term) {
        analysis_.terms[term].sentence = analysis_.sentences.last().text;
        analysis_.terms[term].text = analysis_.sentences.last().source;
        return *this;
    }
    const Analysis& analysis() const { return analysis_; }

private:
    void add(const QString& text, const QList<int>& terms, int source, bool prose) {
        analysis_.sentences.append({text, source, heading_, terms, prose});
        analysis_.sections.last().sentences.append(int(analysis_.sentences.size()) - 1);
    }

    Analysis analysis_;
    QString heading_;
};

enum Term { glycolysis, pyruvate, enzyme };

Notes respiration() {
    Notes notes;
    notes.term("glycolysis", "A pathway that splits glucose into two pyruvate molecules")
        .term("pyruvate", "The three-carbon product of glycolysis")
        .term("enzyme", "A protein that speeds up a reaction", {"enzymes"});
    return notes;
}

KeyTermEngine::Term defined(const QString& term, const QString& definition, const QString& sentence) {
    KeyTermEngine::Term made;
    made.term = term;
    made.definition = definition;
    made.sentence = sentence;
    return made;
}

} // namespace

// Sentences quoted from the notes read as written text: pronouns resolved or left out, concept
// card bodies, key concept lines and the summary that covers every section.
class NotesProseTest : public QObject {
    Q_OBJECT

private slots:
    void whatPointsBack() {
        for (const char* sentence : {"It splits glucose.", "They speed up reactions.", "This is slow.",
                                     "These enzymes fold.", "Its product is pyruvate.", "She named it."})
            QVERIFY2(StandaloneSentence::pointsBack(sentence), sentence);
        for (const char* sentence : {"Glycolysis splits glucose.", "Items are listed.", "Thistles grow.",
                                     "It is important to rest.", "It seems that cells adapt.", ""})
            QVERIFY2(!StandaloneSentence::pointsBack(sentence), sentence);
    }

    void aPronounBecomesTheTermThePreviousSentenceIsAbout() {
        const Analysis notes = respiration()
                                   .says("Glycolysis turns glucose into pyruvate.", {glycolysis, pyruvate})
                                   .says("It happens in the cytoplasm.")
                                   .says("It needs no oxygen.")
                                   .analysis();
        QCOMPARE(StandaloneSentence::subject(notes, 1), int(glycolysis));
        QCOMPARE(StandaloneSentence::about(notes, 1, glycolysis), "Glycolysis happens in the cytoplasm.");
        // Through a run of pronouns back to the term.
        QCOMPARE(StandaloneSentence::about(notes, 2, glycolysis), "Glycolysis needs no oxygen.");
        // The sentence's subject is the term named first, not any term it names.
        QCOMPARE(StandaloneSentence::about(notes, 1, pyruvate), QString());
        // A sentence that does not point back is quoted as written, whatever it names.
        QCOMPARE(StandaloneSentence::about(notes, 0, enzyme), "Glycolysis turns glucose into pyruvate.");
    }

    void aPronounWithNoTermBeforeItIsLeftOut() {
        const Analysis notes = respiration()
                                   .says("Cells need a steady supply of energy.")
                                   .says("It comes from food.")
                                   .says("Glycolysis is the first stage.", {glycolysis})
                                   .says("It splits glucose.", {}, 1)
                                   .heading("Enzymes", 2)
                                   .says("Enzymes speed reactions up.", {enzyme}, 2)
                                   .heading("Uses", 2)
                                   .says("They are reused.", {}, 2)
                                   .analysis();
        QCOMPARE(StandaloneSentence::subject(notes, 1), -1);
        QCOMPARE(StandaloneSentence::about(notes, 1, glycolysis), QString());
        // Neither another text nor another section lends its subject.
        QCOMPARE(StandaloneSentence::subject(notes, 3), -1);
        QCOMPARE(StandaloneSentence::subject(notes, 7), -1);
        // A heading that names the term speaks for the section under it.
        Analysis headed = respiration().heading("Glycolysis").analysis();
        headed.sentences[0].terms = {glycolysis};
        headed.sentences.append({"It splits glucose.", 0, "Glycolysis", {}, true});
        QCOMPARE(StandaloneSentence::about(headed, 1, glycolysis), "Glycolysis splits glucose.");
    }

    void pronounsAgreeWithTheTerm() {
        const Analysis notes = respiration()
                                   .says("Each enzyme has an active site.", {enzyme})
                                   .says("They are made of amino acids.")
                                   .says("Its shape matters.")
                                   .says("Their shape changes with heat.")
                                   .says("Glycolysis splits glucose.", {glycolysis})
                                   .says("They are ten steps.")
                                   .says("Its product is pyruvate.")
                                   .analysis();
        QCOMPARE(StandaloneSentence::about(notes, 1, enzyme), "Enzymes are made of amino acids.");
        QCOMPARE(StandaloneSentence::about(notes, 2, enzyme), "Enzyme's shape matters.");
        QCOMPARE(StandaloneSentence::about(notes, 3, enzyme), "Enzymes' shape changes with heat.");
        // "They" after a term the text never writes in the plural cannot be told.
        QCOMPARE(StandaloneSentence::about(notes, 5, glycolysis), QString());
        QCOMPARE(StandaloneSentence::about(notes, 6, glycolysis), "Glycolysis' product is pyruvate.");
    }

    void demonstrativesStandForTheTermOrAreLeftOut() {
        const Analysis notes = respiration()
                                   .says("Glycolysis splits glucose.", {glycolysis})
                                   .says("This pathway runs in the cytoplasm.")
                                   .says("This is fast.")
                                   .says("Glycolysis makes ATP.", {glycolysis})
                                   .says("This means cells get energy quickly.")
                                   .says("Glycolysis has ten steps.", {glycolysis})
                                   .says("This second step makes ATP.")
                                   .says("Glycolysis runs without oxygen.", {glycolysis})
                                   .says("That is why muscles tire.")
                                   .says("Enzymes fold.", {enzyme})
                                   .says("These proteins are specific.")
                                   .says("Glucose feeds them.")
                                   .says("Enzymes break it down.", {enzyme})
                                   .says("These enzymes need warmth.")
                                   .analysis();
        // The kind the definition opens with ("a pathway that …") is the term.
        QCOMPARE(StandaloneSentence::about(notes, 1, glycolysis), "Glycolysis runs in the cytoplasm.");
        QCOMPARE(StandaloneSentence::about(notes, 2, glycolysis), "Glycolysis is fast.");
        QCOMPARE(StandaloneSentence::about(notes, 10, enzyme), "Enzymes are specific.");
        QCOMPARE(StandaloneSentence::about(notes, 13, enzyme), "Enzymes need warmth.");
        // A whole statement, or a noun the term is not known to be, is not the term.
        QCOMPARE(StandaloneSentence::about(notes, 4, glycolysis), QString());
        QCOMPARE(StandaloneSentence::about(notes, 6, glycolysis), QString());
        QCOMPARE(StandaloneSentence::about(notes, 8, glycolysis), QString());
    }

    void titlesAreNotSentences() {
        QVERIFY(StandaloneSentence::isTitle({"2.3 Supply and Demand", 0, {}, {}, true}));
        // A list item or glossary line is no title.
        QVERIFY(!StandaloneSentence::isTitle({"Demand — what buyers want", 0, {}, {}, false}));
        const Analysis notes = respiration()
                                   .says("Glycolysis is a pathway that splits glucose.", {glycolysis})
                                   .defining(glycolysis)
                                   .says("Glycolysis in Yeast", {glycolysis})
                                   .analysis();
        QCOMPARE(ConceptBody::write(notes, glycolysis), "Glycolysis is a pathway that splits glucose.");
    }

    void quotingKeepsNeighboursAndResolvesTheRest() {
        const Analysis notes = respiration()
                                   .says("Glycolysis splits glucose.", {glycolysis})
                                   .says("It happens in the cytoplasm.")
                                   .says("Cells also burn fat.")
                                   .says("It yields more energy.")
                                   .says("It is stored under the skin.")
                                   .says("It needs no oxygen.")
                                   .analysis();
        // Right after the sentence before it, a pronoun has its noun in the quote.
        QCOMPARE(StandaloneSentence::quote(notes, {0, 1}),
                 QStringList({"Glycolysis splits glucose.", "It happens in the cytoplasm."}));
        QCOMPARE(StandaloneSentence::quote(notes, {1}), QStringList{"Glycolysis happens in the cytoplasm."});
        // A left-out sentence does not lend its place to the next one.
        QCOMPARE(StandaloneSentence::quote(notes, {3, 4}), QStringList());
        QCOMPARE(StandaloneSentence::quote(notes, {2, 3}),
                 QStringList({"Cells also burn fat.", "It yields more energy."}));
    }

    void cardBodiesStayWithTheirTermInTextOrder() {
        const Analysis notes = respiration()
                                   .heading("Energy")
                                   .says("Cells get energy from glucose by glycolysis.", {glycolysis})
                                   .says("Glycolysis is a pathway that splits glucose.", {glycolysis})
                                   .defining(glycolysis)
                                   .says("Muscles store glycogen.")
                                   .says("It happens in the cytoplasm.")
                                   .says("Pyruvate is the product of glycolysis.", {pyruvate, glycolysis})
                                   .defining(pyruvate)
                                   .says("It enters the mitochondria.")
                                   .analysis();
        QCOMPARE(ConceptBody::write(notes, glycolysis),
                 "Cells get energy from glucose by glycolysis. Glycolysis is a pathway that splits glucose. "
                 "Pyruvate is the product of glycolysis.");
        // The sentence after the definition is not glued on when it is about something else, and a
        // pronoun about the term gives way to it.
        QCOMPARE(ConceptBody::write(notes, pyruvate),
                 "Pyruvate is the product of glycolysis. It enters the mitochondria.");
        const Analysis later = respiration()
                                   .says("Pyruvate is the product of glycolysis.", {pyruvate, glycolysis})
                                   .defining(pyruvate)
                                   .says("Cells vary.")
                                   .says("It enters the mitochondria.")
                                   .analysis();
        QCOMPARE(ConceptBody::write(later, pyruvate), "Pyruvate is the product of glycolysis.");
    }

    void cardBodiesHaveALimit() {
        Notes many = respiration();
        many.says("Glycolysis is a pathway that splits glucose.", {glycolysis}).defining(glycolysis);
        for (int i = 0; i < 8; ++i)
            many.says("Glycolysis appears again in sentence " + QString::number(i) + ".", {glycolysis});
        QCOMPARE(ConceptBody::write(many.analysis(), glycolysis).count('.'), ConceptBody::maxSentences);
        // The nearest sentences are kept, in the order of the text.
        QVERIFY(ConceptBody::write(many.analysis(), glycolysis).endsWith("sentence 2."));

        Notes longOne = respiration();
        longOne.says("Glycolysis " + QString("splits ").repeated(100), {glycolysis}).defining(glycolysis);
        const QString body = ConceptBody::write(longOne.analysis(), glycolysis);
        QVERIFY(body.size() <= ConceptBody::maxSentenceChars && body.endsWith(QStringLiteral("…")));

        // A defining sentence that cannot be quoted gives way to the definition.
        Notes pronoun = respiration();
        pronoun.says("Cells vary.").says("It splits glucose.").defining(glycolysis);
        QCOMPARE(ConceptBody::write(pronoun.analysis(), glycolysis),
                 "Glycolysis: A pathway that splits glucose into two pyruvate molecules.");
    }

    void aTermTheTextSaysNothingOfHasNoCard() {
        const int temperature = 3;
        Notes notes = respiration();
        notes.term("body temperature", "Body temperature work best at body temperature")
            .says("Enzymes are proteins.", {enzyme})
            .defining(enzyme)
            .says("They work best at body temperature.", {temperature})
            .defining(temperature);
        Analysis guessed = notes.analysis();
        guessed.terms[temperature].defined = false;
        QVERIFY(!StandaloneSentence::describes(guessed, temperature));
        QCOMPARE(ConceptBody::write(guessed, temperature), QString());
        QCOMPARE(ConceptBody::write(guessed, enzyme),
                 "Enzymes are proteins. They work best at body temperature.");
        // A definition the text states stands even where its sentence does not.
        QVERIFY(StandaloneSentence::describes(notes.analysis(), temperature));
        QCOMPARE(ConceptBody::write(notes.analysis(), temperature),
                 "Body temperature: Body temperature work best at body temperature.");
        // A describing sentence describes its subject, not the other terms it names.
        Analysis described = respiration()
                                 .says("Glycolysis splits glucose into pyruvate.", {glycolysis, pyruvate})
                                 .defining(glycolysis)
                                 .defining(pyruvate)
                                 .analysis();
        described.terms[glycolysis].defined = described.terms[pyruvate].defined = false;
        QVERIFY(StandaloneSentence::describes(described, glycolysis));
        QVERIFY(!StandaloneSentence::describes(described, pyruvate));
        // After an opening phrase, or in the plural, the term still opens the sentence.
        Analysis opened = respiration()
                              .says("Strictly, glycolysis needs no oxygen.", {glycolysis})
                              .defining(glycolysis)
                              .says("Enzymes fold into shapes that pyruvate fits.", {enzyme, pyruvate})
                              .defining(enzyme)
                              .defining(pyruvate)
                              .analysis();
        for (KeyTermEngine::Term& term : opened.terms)
            term.defined = false;
        QVERIFY(StandaloneSentence::describes(opened, glycolysis));
        QVERIFY(StandaloneSentence::describes(opened, enzyme));
        QVERIFY(!StandaloneSentence::describes(opened, pyruvate));
    }

    void keyConceptLinesExplainTheTermInOneLine() {
        QCOMPARE(KeyConceptLine::of(defined("glycolysis", "Glycolysis splits glucose in the cytoplasm",
                                            "Glycolysis splits glucose in the cytoplasm.")),
                 "Glycolysis — splits glucose in the cytoplasm");
        QCOMPARE(KeyConceptLine::of(defined("ATP", "ATP is the energy currency of the cell",
                                            "ATP is the energy currency of the cell.")),
                 "ATP — the energy currency of the cell");
        QCOMPARE(KeyConceptLine::of(defined("osmosis", "The movement of water across a membrane",
                                            "Osmosis refers to the movement of water across a membrane.")),
                 "Osmosis — the movement of water across a membrane");
        // A name keeps its capital; a word capitalised only to begin the definition does not.
        QCOMPARE(KeyConceptLine::of(defined("Krebs cycle", "Krebs described it in 1937", "")),
                 "Krebs cycle — Krebs described it in 1937");
        QCOMPARE(KeyConceptLine::of(defined("mRNA", "Carries the code of a gene", "")),
                 "mRNA — carries the code of a gene");
        QCOMPARE(KeyConceptLine::of(defined("enzyme", "", "")), QString());
        // The restated term goes with its article and an aside after it.
        QCOMPARE(KeyConceptLine::of(defined("queue", "A queue is first in, first out", "")),
                 "Queue — first in, first out");
        QCOMPARE(
            KeyConceptLine::of(defined("dynamic array", "Dynamic array (a vector): when full, it grows", "")),
            "Dynamic array — when full, it grows");
        // A definition about the term and another keeps both; another name is no explanation.
        QCOMPARE(KeyConceptLine::of(defined("NADH", "NADH and FADH2 carry electrons", "")),
                 "NADH — NADH and FADH2 carry electrons");
        QCOMPARE(KeyConceptLine::of(defined("Krebs cycle", "Also known as the citric acid cycle", "")),
                 QString());
        QCOMPARE(KeyConceptLine::of(defined("fermentation", "Strictly, fermentation needs no oxygen", "")),
                 "Fermentation — strictly, fermentation needs no oxygen");

        // One line: cut at a clause, or at a word with "…".
        const QString clause = "A pathway of ten steps that turns glucose into pyruvate, making a little "
                               "ATP and NADH along the way for the cell to use later";
        QCOMPARE(KeyConceptLine::of(defined("glycolysis", clause, "")),
                 "Glycolysis — a pathway of ten steps that turns glucose into pyruvate");
        const QString words = "A " + QString("very ").repeated(30) + "long pathway";
        const QString line = KeyConceptLine::of(defined("glycolysis", words, ""));
        QVERIFY(line.endsWith(QStringLiteral("…")));
        QVERIFY(line.size() <= QString("Glycolysis — ").size() + KeyConceptLine::maxExplanationChars);
    }

    void theSummaryCoversEverySection() {
        Notes notes = respiration();
        notes.heading("Glycolysis")
            .says("Glycolysis is a pathway that splits glucose into pyruvate.", {glycolysis, pyruvate})
            .defining(glycolysis)
            .says("Cells run glycolysis in the cytoplasm.", {glycolysis})
            .heading("Enzymes")
            .says("Students often confuse these ideas.")
            .says("An enzyme is a protein that speeds up a reaction without being used up.", {enzyme})
            .defining(enzyme)
            .heading("Pyruvate")
            .says("Pyruvate then enters the mitochondria for the next stage of respiration.", {pyruvate});
        const QString summary = SectionSummary::write(notes.analysis());
        QVERIFY2(summary.contains("Glycolysis is a pathway"), qPrintable(summary));
        // The best sentence of a section, wherever it stands in it.
        QVERIFY2(summary.contains("An enzyme is a protein"), qPrintable(summary));
        QVERIFY2(!summary.contains("confuse"), qPrintable(summary));
        QVERIFY2(summary.contains("Pyruvate then enters"), qPrintable(summary));
        QVERIFY(summary.indexOf("Glycolysis") < summary.indexOf("An enzyme"));
        QVERIFY(summary.indexOf("An enzyme") < summary.indexOf("Pyruvate then"));
        // Short sections give one sentence each.
        QVERIFY2(!summary.contains("Cells run glycolysis"), qPrintable(summary));
        // A note of a few words is not summed up with, however many terms it names.
        Notes terse = respiration();
        terse.heading("Yield")
            .says("Glycolysis: pyruvate, enzyme.", {glycolysis, pyruvate, enzyme})
            .says("Each glucose gives two pyruvate molecules and a little energy for the cell.", {pyruvate});
        QVERIFY(SectionSummary::write(terse.analysis()).startsWith("Each glucose gives"));
    }

    void aTextWithoutHeadingsIsReadInParts() {
        Notes notes = respiration();
        const int count = 4 * SectionSummary::partSentences;
        for (int i = 0; i < count; ++i)
            notes.says(QString("Glycolysis fact %1 concerns glucose and pyruvate here.").arg(i),
                       {glycolysis});
        const QList<QList<int>> parts = SectionSummary::parts(notes.analysis());
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts.first().first(), 0);
        QCOMPARE(parts.last().last(), count - 1);
        const QString summary = SectionSummary::write(notes.analysis());
        for (const QList<int>& part : parts) {
            bool covered = false;
            for (const int sentence : part)
                covered |= summary.contains(QString("fact %1 ").arg(sentence));
            QVERIFY2(covered, qPrintable(summary));
        }
    }

    void aLongSectionGivesASecondSentence() {
        for (const int sentences : {SectionSummary::longPart - 1, SectionSummary::longPart}) {
            Notes notes = respiration();
            notes.heading("Only");
            for (int i = 0; i < sentences; ++i)
                notes.says(QString("Glycolysis fact %1 concerns glucose here.").arg(i), {glycolysis});
            QCOMPARE(SectionSummary::parts(notes.analysis()).size(), 1);
            QCOMPARE(SectionSummary::write(notes.analysis()).count("Glycolysis fact"),
                     sentences < SectionSummary::longPart ? 1 : 2);
        }
    }

    // Variants take turns over each part's best sentences: variant 0 is the first summary, and a
    // part with two usable sentences comes round to its first again at variant 2.
    void variantsLeadEachPartWithAnotherOfItsBest() {
        Notes notes = respiration();
        notes.heading("Glycolysis")
            .says("Glycolysis is a pathway that splits glucose into pyruvate.", {glycolysis, pyruvate})
            .defining(glycolysis)
            .says("Cells run glycolysis in the cytoplasm without any oxygen.", {glycolysis})
            .heading("Enzymes")
            .says("An enzyme is a protein that speeds up a reaction without being used up.", {enzyme})
            .defining(enzyme);
        const QString first = SectionSummary::write(notes.analysis());
        QCOMPARE(SectionSummary::write(notes.analysis(), 0), first);
        QVERIFY2(first.contains("Glycolysis is a pathway"), qPrintable(first));
        const QString second = SectionSummary::write(notes.analysis(), 1);
        QVERIFY2(second.contains("Cells run glycolysis") && !second.contains("Glycolysis is a pathway"),
                 qPrintable(second));
        // The one usable sentence of its part stays.
        QVERIFY2(second.contains("An enzyme is a protein"), qPrintable(second));
        QCOMPARE(SectionSummary::write(notes.analysis(), 2), first);
    }

    // The first half of the key concepts always leads; a variant fills the rest from further down.
    // Regenerating takes the next variant that reads differently from the stored notes.
    void regeneratedNotesTakeTheNextVariantThatReadsDifferently() {
        Notes notes;
        const int count = Summarizer::maxKeyConcepts + Summarizer::maxKeyConcepts / 2;
        for (int i = 0; i < count; ++i)
            notes.term(QString("Term%1").arg(i, 2, 10, QChar('0')), QString("The meaning of item %1").arg(i));
        const auto named = [](const Summarizer& made) {
            QStringList numbers;
            for (const QString& line : made.keyConcepts)
                numbers.append(line.mid(4, 2));
            return numbers.join(',');
        };
        const Summarizer first = Summarizer::summarize(notes.analysis());
        QCOMPARE(named(first), "00,01,02,03,04,05,06,07");
        const Summarizer second = Summarizer::summarize(notes.analysis(), 1);
        QCOMPARE(named(second), "00,01,02,03,08,09,10,11");

        QCOMPARE(named(Summarizer::regenerate(notes.analysis(), {})), named(first));
        QCOMPARE(named(Summarizer::regenerate(notes.analysis(), first.toJson("reading", "t"))),
                 named(second));
        QVERIFY(Summarizer::regenerate(notes.analysis(), second.toJson("reading", "t"))
                    .readsAs(first.toJson("lecture", "u")));

        // Eight concepts or fewer give every variant the same notes: they come back as they were.
        Notes few;
        for (int i = 0; i < Summarizer::maxKeyConcepts; ++i)
            few.term(QString("Term%1").arg(i, 2, 10, QChar('0')), QString("The meaning of item %1").arg(i));
        const Summarizer only = Summarizer::summarize(few.analysis());
        QCOMPARE(named(Summarizer::summarize(few.analysis(), 1)), named(only));
        QVERIFY(Summarizer::regenerate(few.analysis(), only.toJson("reading", "t"))
                    .readsAs(only.toJson("reading", "t")));
    }

    void manySectionsAreGroupedWithTheirNeighbours() {
        Notes notes = respiration();
        for (int i = 0; i < 3 * SectionSummary::maxParts; ++i)
            notes.heading(QString("Part %1").arg(i))
                .says("Glycolysis splits glucose in every part.", {glycolysis});
        const QList<QList<int>> parts = SectionSummary::parts(notes.analysis());
        QCOMPARE(parts.size(), SectionSummary::maxParts);
        for (const QList<int>& part : parts)
            QCOMPARE(part.size(), 3);
    }

    void summarySentencesReadOnTheirOwn() {
        Notes notes = respiration();
        notes.heading("Glycolysis")
            .says("Glycolysis is a pathway that splits glucose into pyruvate.", {glycolysis, pyruvate})
            .heading("Where")
            .says("It happens in the cytoplasm of every cell that respires.")
            .heading("Pyruvate")
            .says("Pyruvate is the product of glycolysis in the cell.", {pyruvate, glycolysis})
            .says("It then enters the mitochondria.");
        const QString summary = SectionSummary::write(notes.analysis());
        QVERIFY2(!summary.contains("It "), qPrintable(summary));
        QVERIFY2(!summary.contains("cytoplasm"), qPrintable(summary));
    }
};

QTEST_GUILESS_MAIN(NotesProseTest)
#include "NotesProseTest.moc"
