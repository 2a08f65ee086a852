#include "Reading/ReadingGuideWriter.h"
#include "QuotedProse.h"

#include <QJsonArray>
#include <QTest>

namespace {

// Lecture notes as a PDF gives them: a title line, plain headings, a sentence a line.
const QString lecture = R"(Lecture 4: Photosynthesis

Light reactions

Chlorophyll is a green pigment that absorbs red and blue light.
The thylakoid is a membrane sac inside the chloroplast where the light reactions happen.
Chlorophyll in the thylakoid captures the energy of light.

The Calvin cycle
Rubisco is the enzyme that fixes carbon dioxide into sugar.
Carbon fixation needs the energy carriers that the light reactions make.
)";

// Notes whose sentences lean on the one before them.
const QString enzymes = R"(# Enzymes

An enzyme is a protein that speeds up a chemical reaction. It lowers the activation energy of the reaction. Each enzyme fits one substrate, and the active site of the enzyme holds that substrate.

# Temperature

Cells keep a steady temperature. It matters because heat changes the shape of the active site. This is why a high fever can stop an enzyme from working.
)";

ReadingGuideWriter::Request request(const QString& style) {
    return {*ReadingStyle::named(style), "BIO 120", {}, "grt_1", "2026-01-01T00:00:00.000Z"};
}

QStringList strings(const QJsonValue& value) {
    QStringList out;
    for (const QJsonValue& item : value.toArray())
        out << item.toString();
    return out;
}

} // namespace

// Reading guides from plain text: its titles and passages, quoted sentences that read on their own,
// the reading time, and the style's sizes.
class ReadingGuideWriterTest : public QObject {
    Q_OBJECT

private slots:
    void plainTitlesAreSectionsAndLinesMakePassages() {
        const QJsonObject guide = ReadingGuideWriter::write({{"Lecture", lecture}}, request("deep_dive"));
        QCOMPARE(guide["central_concept"].toString(), "Lecture 4: Photosynthesis");
        const QStringList objectives = strings(guide["learning_objectives"]);
        QVERIFY(objectives.contains("Summarise what the reading says about light reactions."));
        QVERIFY(objectives.contains("Summarise what the reading says about the Calvin cycle."));
        // The sections' titles are never notes; each note is the text's own sentences.
        const QStringList notes = strings(guide["cornell_right_column"]);
        QVERIFY(notes.size() >= 2);
        for (const QString& note : notes) {
            QVERIFY2(!note.contains("Light reactions") && !note.startsWith("The Calvin cycle\n"),
                     qPrintable(note));
            QVERIFY2(lecture.simplified().contains(note), qPrintable(note));
        }
        // A question names a term with the article the text gives it.
        QStringList asked;
        for (const QJsonValue& question : guide["comprehension_questions"].toArray())
            asked.append(question["question"].toString());
        QVERIFY2(asked.contains("What is chlorophyll?") && asked.contains("What is the thylakoid?"),
                 qPrintable(asked.join('\n')));
        // Two terms one sentence names together are related, with that sentence.
        QVERIFY(strings(guide["key_relationships"])
                    .join('\n')
                    .contains("Chlorophyll in the thylakoid captures the energy of light."));
        // The same text writes the same guide.
        QCOMPARE(ReadingGuideWriter::write({{"Lecture", lecture}}, request("deep_dive")), guide);
    }

    void quotedSentencesReadOnTheirOwn() {
        const QJsonObject guide = ReadingGuideWriter::write({{"Enzymes", enzymes}}, request("deep_dive"));
        QStringList quotes = strings(guide["cornell_right_column"]) + strings(guide["key_relationships"]);
        quotes.append(guide["content_summary"].toString());
        for (const QJsonValue& word : guide["vocabulary"].toArray())
            quotes.append(word["context"].toString());
        for (const QJsonValue& asked : guide["comprehension_questions"].toArray())
            if (const QString answer = asked["expected_answer"].toString(); answer.contains('"'))
                quotes.append(answer.section('"', 1, 1));
        QVERIFY(quotes.size() > 3);
        QVERIFY(strings(guide["cornell_left_column"]).join('\n').contains("What is an enzyme,"));
        for (const QString& quote : std::as_const(quotes))
            QVERIFY2(readsOnItsOwn(quote, enzymes), qPrintable(quote));
        // A pronoun about the term the sentence before names gives way to it.
        QVERIFY2(quotes.join('\n').contains("lowers the activation energy"), qPrintable(quotes.join('\n')));
        // Key concepts come with what they mean, in the text's casing.
        const QStringList concepts = strings(guide["key_concepts"]);
        QVERIFY(!concepts.isEmpty());
        for (const QString& line : concepts)
            QVERIFY2(line.contains(QStringLiteral(" — ")), qPrintable(line));
        QVERIFY2(concepts.join('\n').contains(
                     QStringLiteral("Enzyme — a protein that speeds up a chemical reaction")),
                 qPrintable(concepts.join('\n')));
    }

    void readingTimeIsTheWordCountAtTheStylesSpeed() {
        QCOMPARE(ReadingGuideWriter::estimatedMinutes({}, 200), 1);
        QCOMPARE(ReadingGuideWriter::estimatedMinutes({QString("word ").repeated(200)}, 200), 1);
        QCOMPARE(ReadingGuideWriter::estimatedMinutes({QString("word ").repeated(201)}, 200), 2);
        QCOMPARE(ReadingGuideWriter::estimatedMinutes(
                     {QString("word ").repeated(150), QString("word\n").repeated(150)}, 150),
                 2);
    }

    void aStyleLeavesOutWhatItDoesNotHold() {
        const QJsonObject quick = ReadingGuideWriter::write({{"Lecture", lecture}}, request("quick_review"));
        for (const char* absent : {"before_reading_questions", "after_reading_questions", "connections",
                                   "key_relationships", "questions_for_exploration"})
            QVERIFY2(!quick.contains(absent), absent);
        QVERIFY(quick["vocabulary"].toArray().size() <= ReadingStyle::named("quick_review")->vocabulary);
        QCOMPARE(strings(quick["reading_tips"]).size(), ReadingStyle::named("quick_review")->readingTips);
        QVERIFY(!ReadingStyle::named("speed_read"));
        QCOMPARE(ReadingStyle::types().size(), 5);
        for (const QString& type : ReadingStyle::types())
            QCOMPARE(ReadingStyle::named(type)->type, type);
    }
};

QTEST_GUILESS_MAIN(ReadingGuideWriterTest)
#include "ReadingGuideWriterTest.moc"
