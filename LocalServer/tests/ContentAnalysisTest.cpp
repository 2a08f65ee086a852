#include "MultipartForm.h"
#include "Summarizer.h"
#include "SyllabusAnalyzer.h"
#include "UniversityDirectory.h"
#include "WavInfo.h"

#include <QJsonArray>
#include <QTest>
#include <QtEndian>

// The local methods behind generated material: summaries, key terms, syllabus detection, and
// the parsers of multipart bodies and WAV headers.
class ContentAnalysisTest : public QObject {
    Q_OBJECT

private slots:
    void summaryPicksCentralSentencesInOrder() {
        const QString text = "Photosynthesis converts light energy into chemical energy in plant cells. "
                             "Chlorophyll is a green pigment that absorbs light energy for photosynthesis. "
                             "The weather was pleasant on the day of the lecture. "
                             "Photosynthesis takes place in the chloroplast of plant cells. "
                             "Glucose made by photosynthesis stores chemical energy for the plant. "
                             "Students sat in the third row. "
                             "Respiration releases the chemical energy stored in glucose.";
        const Summarizer notes = Summarizer::summarize(text);
        QVERIFY(notes.summaryText.startsWith("Photosynthesis converts light energy"));
        QVERIFY(!notes.summaryText.contains("weather"));
        qsizetype previous = -1;
        for (const QString& sentence : notes.summaryText.split(". ")) {
            const qsizetype at = text.indexOf(sentence);
            QVERIFY(at > previous);
            previous = at;
        }
        QCOMPARE(notes.domain, "biology");
        QVERIFY(notes.keyConcepts.contains("Chemical energy"));
        QCOMPARE(Summarizer::summarize(text).toJson("reading", "t"),
                 notes.toJson("reading", "t")); // deterministic
    }

    void keyTermsComeFromDefinitionsInTheText() {
        const auto terms = Summarizer::findDefinitions({
            "Chlorophyll is a green pigment that absorbs light.",
            "Osmosis refers to the movement of water across a membrane.",
            "A catalyst is defined as a substance that speeds up a reaction.",
            "Enthalpy: the heat content of a system at constant pressure.",
            "It is a very important idea for the exam.",
            "This is the end.",
            "Chlorophyll is an old word from Greek roots.",
        });
        QCOMPARE(terms.size(), 4);
        QCOMPARE(terms[0].first, "Chlorophyll");
        QCOMPARE(terms[0].second, "A green pigment that absorbs light.");
        QCOMPARE(terms[1].first, "Osmosis");
        QCOMPARE(terms[2].first, "catalyst");
        QCOMPARE(terms[2].second, "A substance that speeds up a reaction.");
        QCOMPARE(terms[3].first, "Enthalpy");
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
