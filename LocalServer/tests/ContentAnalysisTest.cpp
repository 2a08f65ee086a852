#include "Courses/SyllabusAnalyzer.h"
#include "Directory/UniversityDirectory.h"
#include "Http/MultipartForm.h"
#include "Library/Summarizer.h"
#include "Speech/WavInfo.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

namespace {

// Notes on cellular respiration under three headings, as a student types them.
const QString respiration = R"(# Glycolysis

Glycolysis is the first stage of cellular respiration. It splits glucose into two pyruvate molecules in the cytoplasm of the cell. Each cell gains two ATP from every glucose this way.

# The Krebs cycle

The Krebs cycle is a series of reactions in the mitochondrial matrix. It releases carbon dioxide and loads NADH with electrons. Each turn of the Krebs cycle starts from acetyl CoA.

# The electron transport chain

Most of the energy comes at the very end. ATP is the molecule that carries energy inside the cell. The electron transport chain passes electrons from NADH along the inner membrane of the mitochondria to pump protons. Most of the ATP in cells is made at this stage by ATP synthase.
)";

// The sentences of each section of `respiration`.
QList<QStringList> sections() {
    QList<QStringList> out;
    for (const QString& part : respiration.split("# ", Qt::SkipEmptyParts))
        out.append(part.section("\n\n", 1).simplified().split(QRegularExpression("(?<=\\.) ")));
    return out;
}

} // namespace

// The local methods behind generated material: study notes, syllabus detection, and the parsers
// of multipart bodies and WAV headers.
class ContentAnalysisTest : public QObject {
    Q_OBJECT

private slots:
    void theSummaryCoversEachSectionInOrder() {
        const Summarizer notes = Summarizer::summarize(respiration);
        qsizetype previous = -1;
        for (const QStringList& section : sections()) {
            qsizetype at = -1;
            // Without its first word, which may be a pronoun the summary has replaced.
            for (const QString& sentence : section)
                if (const qsizetype found = notes.summaryText.indexOf(sentence.section(' ', 1).chopped(1));
                    found >= 0)
                    at = at < 0 ? found : std::min(at, found);
            QVERIFY2(at > previous, qPrintable(notes.summaryText));
            previous = at;
        }
        QVERIFY2(notes.summaryText.size() < respiration.size() / 2 + 100, qPrintable(notes.summaryText));
        // A section's best sentence, not its opening one.
        QVERIFY2(!notes.summaryText.contains("comes at the very end"), qPrintable(notes.summaryText));
        static const QRegularExpression pronounLed(R"((?:^|[.!?]\s)(?:It|They|This|These|He|She)\s)");
        QVERIFY2(!pronounLed.match(notes.summaryText).hasMatch(), qPrintable(notes.summaryText));
        QCOMPARE(notes.domain, "biology");
        QCOMPARE(Summarizer::summarize(respiration).toJson("reading", "t"),
                 notes.toJson("reading", "t")); // deterministic
    }

    void keyConceptsAreExplainedTermsInTheTextsCasing() {
        const Summarizer notes = Summarizer::summarize(respiration);
        QVERIFY(!notes.keyConcepts.isEmpty());
        QVERIFY(notes.keyConcepts.size() <= Summarizer::maxKeyConcepts);
        for (const QString& line : notes.keyConcepts) {
            QVERIFY2(line.contains(QStringLiteral(" — ")) && !line.endsWith(QStringLiteral(" — ")),
                     qPrintable(line));
            QVERIFY2(!line.contains("Atp") && !line.contains("Nadh"), qPrintable(line));
        }
        const QString atp = notes.keyConcepts.filter(QRegularExpression("^ATP — ")).value(0);
        QVERIFY2(!atp.isEmpty(), qPrintable(notes.keyConcepts.join('\n')));
        QVERIFY2(respiration.contains(atp.section(QStringLiteral(" — "), 1).left(20)), qPrintable(atp));
        // The key terms are the terms the text defines, with the text's definitions.
        QVERIFY(!notes.keyTerms.isEmpty());
        bool glycolysis = false;
        for (const auto& [term, definition] : notes.keyTerms)
            glycolysis |= term.compare("glycolysis", Qt::CaseInsensitive) == 0 &&
                          respiration.contains(definition.mid(1));
        QVERIFY(glycolysis);
        QCOMPARE(notes.toJson("notes", "t").value("key_concepts").toArray().first().toString(),
                 notes.keyConcepts.first());
    }

    void syllabusSignalsAndDetails() {
        const auto syllabus = SyllabusAnalyzer::analyze(
            "HIST 110: World History Syllabus\nProfessor: Dr. Mary Beard\nClass Time: Tue/Thu 1:00-2:15pm\n"
            "Room: Humanities 101\nCourse Description: Empires and their ends.\nWeek 1 - Rome\nWeek 2: "
            "Byzantium\n"
            "Grading: essays 50%, final exam 50%\n");
        QVERIFY(syllabus.isSyllabus);
        QCOMPARE(syllabus.instructor, "Dr. Mary Beard");
        QCOMPARE(syllabus.meetingTimes, "Tue/Thu 1:00-2:15pm");
        QCOMPARE(syllabus.location, "Humanities 101");
        QCOMPARE(syllabus.description, "Empires and their ends.");
        QCOMPARE(syllabus.courseCode, "HIST 110");
        QCOMPARE(syllabus.weeklyTopics, (QStringList{"Rome", "Byzantium"}));
        QCOMPARE(syllabus.classInfo().value("topics").toArray().size(), 2);

        // Lecture notes that mention an exam and a reading are not a syllabus.
        const auto notes = SyllabusAnalyzer::analyze(
            "Lecture 4: Cellular respiration\nGlycolysis splits glucose. This will be on the midterm. "
            "See the reading for details.");
        QVERIFY(!notes.isSyllabus);
    }

    void multipartFieldsAndFile() {
        const QByteArray body =
            "------OBBoundary-X\r\nContent-Disposition: form-data; name=\"source\"\r\n\r\nios-pdf\r\n"
            "------OBBoundary-X\r\nContent-Disposition: form-data; name=\"file\"; "
            "filename=\"syl.pdf\"\r\nContent-Type: application/pdf\r\n\r\n%PDF\r\n--x\r\n"
            "------OBBoundary-X--\r\n";
        const auto form = MultipartForm::parse(body, "multipart/form-data; boundary=----OBBoundary-X");
        QVERIFY(form);
        QCOMPARE(form->fields.value("source"), "ios-pdf");
        QCOMPARE(form->file->filename, "syl.pdf");
        QCOMPARE(form->file->contentType, "application/pdf");
        QCOMPARE(form->file->data, QByteArray("%PDF\r\n--x"));
        QVERIFY(!MultipartForm::parse(body, "multipart/form-data"));
        QVERIFY(!MultipartForm::parse(body.left(60), "multipart/form-data; boundary=----OBBoundary-X"));
    }

    void universityDirectorySearch() {
        const auto directory =
            UniversityDirectory::fromCsv("id,name,short_name,city,state,institution_type\n"
                                         "a,Université de Montréal,UdeM,Montréal,QC,public\n"
                                         "b,Boston University,BU,Boston,MA,private nonprofit\n"
                                         "c,University of Boston Harbor,,Quincy,MA,public\n"
                                         "d,\"Smith, Jones College\",SJC,Boston,MA,public\n"
                                         ",No Id,,,,\n");
        QCOMPARE(directory.size(), 4);
        QCOMPARE(directory.find("d")->name, "Smith, Jones College");
        auto ids = [&](const QString& query) {
            QStringList out;
            for (const auto& university : directory.search(query, 10))
                out.append(university.id);
            return out;
        };
        QCOMPARE(ids("boston"), (QStringList{"b", "c", "d"})); // name start, word start, city
        QCOMPARE(ids("universite de montreal"), QStringList{"a"});
        QCOMPARE(ids("ma").size(), 3);
        QCOMPARE(directory.search("", 2).size(), 2);
        QVERIFY(UniversityDirectory::bundled().size() > 50);
        QCOMPARE(UniversityDirectory::bundled().find("mit")->city, "Cambridge");
    }

    void wavHeaderGivesDuration() {
        QByteArray wav = QByteArray("RIFF\0\0\0\0WAVEfmt ", 16) + QByteArray(4 + 16, '\0');
        char* format = wav.data() + 20;
        qToLittleEndian<quint32>(16, wav.data() + 16);
        qToLittleEndian<quint16>(1, format);
        qToLittleEndian<quint16>(1, format + 2);
        qToLittleEndian<quint32>(22050, format + 4);
        qToLittleEndian<quint16>(16, format + 14);
        wav += "data" + QByteArray(4, '\0') + QByteArray(44100, '\0');
        qToLittleEndian<quint32>(44100, wav.data() + 40);
        const auto info = WavInfo::read(wav);
        QVERIFY(info);
        QCOMPARE(info->durationMs(), 1000);
        QVERIFY(!WavInfo::read("RIFF0000WAVEdata"));
    }
};

QTEST_MAIN(ContentAnalysisTest)
#include "ContentAnalysisTest.moc"
