#include "ReadingGuideWriter.h"

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

// Reading guides from plain text: its titles and passages, the reading time, and the style's sizes.
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
        // Two terms one sentence names together are related, with that sentence.
        QVERIFY(strings(guide["key_relationships"])
                    .join('\n')
                    .contains("Chlorophyll in the thylakoid captures the energy of light."));
        // The same text writes the same guide.
        QCOMPARE(ReadingGuideWriter::write({{"Lecture", lecture}}, request("deep_dive")), guide);
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
