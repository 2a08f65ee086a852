// The records that the backend sends in loose shapes, and the values derived from them.
#include "ByteCountFormatter.h"
#include "Courses/CourseSummary.h"
#include "Documents/DocumentItem.h"
#include "Flashcards/VocabularyTerm.h"
#include "Gamification/RewardCategoryFilter.h"
#include "Gamification/UserRewardItem.h"
#include "Json.h"
#include "Notifications/AppNotification.h"
#include "Quizzes/GenerateQuizResponse.h"
#include "User/BootstrapResponse.h"

#include <QtTest>

Q_DECLARE_METATYPE(DocumentItem::ProcessingState)

namespace {

template <class T> QString failureText(const QByteArray& json) {
    try {
        json::decode<T>(json);
    } catch (const json::DecodingError& e) {
        return e.debugDescription();
    }
    return QStringLiteral("(decoded)");
}

} // namespace

class EndpointRecordsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void documentItemPrefersTheNewerKeys_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("uploadedAt");
        QTest::newRow("both ids") << QByteArray(R"({"id":"row-7","document_id":"doc-1"})") << "doc-1"
                                  << "";
        QTest::newRow("id only") << QByteArray(R"({"id":"row-7","timestamp":"2026-03-01T10:00:00Z"})")
                                 << "row-7"
                                 << "2026-03-01T10:00:00Z";
        QTest::newRow("both times")
            << QByteArray(
                   R"({"document_id":"doc-1","uploaded_at":"2026-03-02T08:00:00Z","timestamp":"2026-03-01T10:00:00Z"})")
            << "doc-1"
            << "2026-03-02T08:00:00Z";
        QTest::newRow("null document_id") << QByteArray(R"({"id":"row-7","document_id":null})") << "row-7"
                                          << "";
    }
    void documentItemPrefersTheNewerKeys() {
        QFETCH(QByteArray, json);
        QFETCH(QString, id);
        QFETCH(QString, uploadedAt);
        const auto item = json::decode<DocumentItem>(json);
        QCOMPARE(item.id, id);
        QCOMPARE(item.uploadedAt.value_or(QString()), uploadedAt);
    }

    void documentItemReadsMistypedFieldsAsAbsent() {
        const auto item = json::decode<DocumentItem>(
            R"({"id":"d1","filename":"notes.pdf","chunk_count":"12","course_id":42,"status":"ready"})");
        QCOMPARE(item.filename.value_or(QString()), QStringLiteral("notes.pdf"));
        QVERIFY(!item.chunkCount);
        QVERIFY(!item.courseId);
        QCOMPARE(item.status.value_or(QString()), QStringLiteral("ready"));
    }

    void aDocumentWithoutIdFailsTheWholeAnswer() {
        QCOMPARE(failureText<DocumentItem>(R"({"filename":"notes.pdf"})"),
                 QStringLiteral("Document missing both id and document_id"));
        QCOMPARE(failureText<BootstrapResponse>(R"({"courses":[],"documents":[{"id":"d1"},{"title":"x"}]})"),
                 QStringLiteral("Document missing both id and document_id"));
    }

    void documentProcessingStateComesFromTheStatus_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<DocumentItem::ProcessingState>("state");
        using S = DocumentItem::ProcessingState;
        QTest::newRow("In_Progress") << QByteArray(R"({"id":"d","status":"In_Progress"})") << S::processing;
        QTest::newRow("QUEUED") << QByteArray(R"({"id":"d","status":"QUEUED"})") << S::processing;
        QTest::newRow("pending") << QByteArray(R"({"id":"d","status":"pending"})") << S::processing;
        QTest::newRow("processing") << QByteArray(R"({"id":"d","status":"processing"})") << S::processing;
        QTest::newRow("Failed") << QByteArray(R"({"id":"d","status":"Failed"})") << S::failed;
        QTest::newRow("error") << QByteArray(R"({"id":"d","status":"error"})") << S::failed;
        QTest::newRow("done") << QByteArray(R"({"id":"d","status":"done"})") << S::ready;
        QTest::newRow("none") << QByteArray(R"({"id":"d"})") << S::ready;
    }
    void documentProcessingStateComesFromTheStatus() {
        QFETCH(QByteArray, json);
        QFETCH(DocumentItem::ProcessingState, state);
        QCOMPARE(json::decode<DocumentItem>(json).processingState(), state);
    }

    void courseSummaryTakesTheFirstUsableCandidate_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("courseId");
        QTest::addColumn<QString>("courseName"); // empty: none
        QTest::newRow("study plan only") << QByteArray(R"({"study_plan":{"course_id":"c1"}})") << "c1"
                                         << "";
        QTest::newRow("empty name skipped")
            << QByteArray(R"({"course_id":"c2","course_name":"","title":"Biology"})") << "c2"
            << "Biology";
        QTest::newRow("course id over document id")
            << QByteArray(R"({"course_id":"c3","document_id":"d3","study_plan":{"course_id":"p3"}})") << "c3"
            << "";
        QTest::newRow("document id over study plan")
            << QByteArray(R"({"document_id":"d4","study_plan":{"course_id":"p4"}})") << "d4"
            << "";
        QTest::newRow("name order") << QByteArray(
                                           R"({"course_id":"c5","name":"N","title":"T","class_title":"C",
                "class_information":{"class_title":"I"},"study_plan":{"course_name":"P"}})")
                                    << "c5"
                                    << "C";
        QTest::newRow("class information before study plan")
            << QByteArray(R"({"course_id":"c6","class_information":{"class_title":"Chem 101"},
                "study_plan":{"course_name":"Chemistry"}})")
            << "c6"
            << "Chem 101";
        QTest::newRow("study plan name last") << QByteArray(R"({"course_id":"c7","title":"",
                "study_plan":{"course_name":"Chemistry"}})")
                                              << "c7"
                                              << "Chemistry";
        QTest::newRow("non-object nested values ignored")
            << QByteArray(R"({"document_id":"d8","study_plan":"p8","class_information":["x"]})") << "d8"
            << "";
    }
    void courseSummaryTakesTheFirstUsableCandidate() {
        QFETCH(QByteArray, json);
        QFETCH(QString, courseId);
        QFETCH(QString, courseName);
        const auto course = json::decode<CourseSummary>(json);
        QCOMPARE(course.courseId, courseId);
        QCOMPARE(course.courseName.value_or(QString()), courseName);
    }

    void aCourseWithoutIdFailsTheWholeAnswer() {
        const QString text =
            QStringLiteral("Course missing course_id, document_id, and study_plan.course_id");
        QCOMPARE(
            failureText<CourseSummary>(R"({"course_name":"Biology","study_plan":{"course_name":"Bio"}})"),
            text);
        QCOMPARE(failureText<BootstrapResponse>(R"({"courses":[{"title":"Biology"}],"documents":[]})"), text);
    }

    void quizQuestionTextPrefersThePrompt() {
        QCOMPARE(json::decode<QuizQuestion>(R"({"prompt":"Shown","question":"Hidden"})").question,
                 QStringLiteral("Shown"));
        QCOMPARE(json::decode<QuizQuestion>(R"({"question":"Only this"})").question,
                 QStringLiteral("Only this"));
        const auto bare = json::decode<QuizQuestion>("{}");
        QCOMPARE(bare.question, QString());
        QVERIFY(bare.options.isEmpty());
    }

    void quizQuestionCorrectAnswers_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("index"); // -100: none
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("position") << QByteArray(R"({"correct_answer":2})") << 2 << QStringList();
        QTest::newRow("position as text") << QByteArray(R"({"correct_answer":"1"})") << 1 << QStringList();
        QTest::newRow("signed text") << QByteArray(R"({"correct_answers":["+3"]})") << 3 << QStringList();
        QTest::newRow("negative text") << QByteArray(R"({"correct_answers":["-1"]})") << -1 << QStringList();
        QTest::newRow("answer text") << QByteArray(R"({"correct_answer":"Paris"})") << -100
                                     << QStringList{"Paris"};
        QTest::newRow("not quite a number") << QByteArray(R"({"correct_answers":["2.5"," 2","True"]})")
                                            << -100 << QStringList{"2.5", " 2", "True"};
        QTest::newRow("mixed list") << QByteArray(R"({"correct_answers":["Mitochondria",0]})") << 0
                                    << QStringList{"Mitochondria"};
        QTest::newRow("single before list, first position wins")
            << QByteArray(R"({"correct_answer":"Paris","correct_answers":[3,1,"Paris","Lyon"]})") << 3
            << QStringList{"Paris", "Lyon"};
        QTest::newRow("none") << QByteArray(R"({"options":["a","b"]})") << -100 << QStringList();
    }
    void quizQuestionCorrectAnswers() {
        QFETCH(QByteArray, json);
        QFETCH(int, index);
        QFETCH(QStringList, texts);
        const auto question = json::decode<QuizQuestion>(json);
        QCOMPARE(question.correctAnswerIndex.value_or(-100), index);
        QCOMPARE(QStringList(question.correctAnswerStrings), texts);
    }

    void anUnsupportedAnswerEntryFailsTheWholeQuiz() {
        const QString text = QStringLiteral("Unsupported correctAnswers entry");
        QCOMPARE(failureText<QuizQuestion>(R"({"question":"Q","correct_answers":["A",true]})"), text);
        QCOMPARE(failureText<QuizQuestion>(R"({"question":"Q","correct_answer":1.5})"), text);
        QCOMPARE(
            failureText<GenerateQuizResponse>(
                R"({"questions":[{"question":"Q1","correct_answer":0},{"question":"Q2","correct_answers":[{}]}]})"),
            text);
    }

    void everyDecodeGivesAQuestionAFreshId() {
        const QByteArray json = R"({"question":"Q","options":["a","b"],"correct_answer":0})";
        const auto first = json::decode<QuizQuestion>(json);
        const auto second = json::decode<QuizQuestion>(json);
        QVERIFY(!first.id.isNull());
        QVERIFY(first.id != second.id);
    }

    void notificationCourseId_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("courseId"); // empty: none
        const auto notification = [](const char* type, const char* rest) {
            return QByteArray(R"({"id":"n1","title":"t","message":"m","is_read":false,"type":")") + type +
                   "\"," + rest + "}";
        };
        QTest::newRow("adaptive quiz")
            << notification("adaptive_quiz", R"("related_id":"c42:q7","metadata":{})") << "c42";
        QTest::newRow("adaptive quiz without quiz part")
            << notification("adaptive_quiz", R"("related_id":"c42","metadata":{})") << "c42";
        QTest::newRow("exam keeps the whole id")
            << notification("exam", R"("related_id":"c42:q7","metadata":{})") << "c42:q7";
        QTest::newRow("metadata first")
            << notification("adaptive_quiz", R"("related_id":"c42:q7","metadata":{"course_id":"c9"})")
            << "c9";
        QTest::newRow("empty metadata id")
            << notification("exam", R"("related_id":"c42:q7","metadata":{"course_id":""})") << "c42:q7";
        QTest::newRow("metadata id not a string")
            << notification("exam", R"("related_id":"c1","metadata":{"course_id":7})") << "c1";
        QTest::newRow("empty related id") << notification("exam", R"("related_id":"","metadata":{})") << "";
        QTest::newRow("nothing") << notification("assignment", R"("metadata":{})") << "";
    }
    void notificationCourseId() {
        QFETCH(QByteArray, json);
        QFETCH(QString, courseId);
        QCOMPARE(json::decode<AppNotification>(json).courseId().value_or(QString()), courseId);
    }

    void notificationTopicNudgeAndKind() {
        const auto nudge = json::decode<AppNotification>(
            R"({"id":"n1","type":"adaptive_quiz","title":"t","message":"m","is_read":true,
                "metadata":{"topic":"Cell membranes","reason":"proficiency_nudge","score":0.4}})");
        QCOMPARE(nudge.topic().value_or(QString()), QStringLiteral("Cell membranes"));
        QVERIFY(nudge.isProficiencyNudge());
        QCOMPARE(nudge.kind(), NotificationKind::adaptiveQuiz);

        const auto plain = json::decode<AppNotification>(
            R"({"id":"n2","type":"class_cancelled","title":"t","message":"m","is_read":false,
                "metadata":{"topic":"","reason":"reminder"}})");
        QVERIFY(!plain.topic());
        QVERIFY(!plain.isProficiencyNudge());
        QCOMPARE(plain.kind(), NotificationKind::unknown);
    }

    void rewardKindAndCategoryFilter() {
        QCOMPARE(rewardKind(QStringLiteral("song_from_notes")), RewardKind::song);
        QCOMPARE(rewardKind(QStringLiteral("mnemonic_from_notes")), RewardKind::mnemonic);
        QCOMPARE(rewardKind(QStringLiteral("lyrics_from_notes")), RewardKind::lyrics);
        QCOMPARE(rewardKind(QStringLiteral("badge")), RewardKind::other);
        const auto untyped = json::decode<UserRewardItem>(
            R"({"user_reward_id":"ur1","user_id":"u1","reward_id":"r1","usage_count":0,"fulfillment_status":"pending"})");
        QCOMPARE(untyped.kind(), RewardKind::other);

        QVERIFY(matches(RewardCategoryFilter::all, QStringLiteral("anything")));
        QVERIFY(matches(RewardCategoryFilter::powerUps, QStringLiteral("power_ups")));
        QVERIFY(!matches(RewardCategoryFilter::powerUps, QStringLiteral("study_tools")));
    }

    void aVocabularyTermBecomesAStudyCard() {
        const auto term = json::decode<VocabularyTerm>(
            R"({"term":"osmosis","definition":"Diffusion of water across a membrane","context":"Ch. 3",
                "hint":"Think of a sponge","synonyms":[{"synonym":"diffusion"}],"antonyms":["dehydration"],
                "related_terms":["tonicity"],"usage_note":"Used of solvents"})");
        const Flashcard card = term.flashcard();
        QCOMPARE(card.id, QStringLiteral("vocab_osmosis"));
        QCOMPARE(card.front, QStringLiteral("osmosis"));
        QCOMPARE(card.back, QStringLiteral("Diffusion of water across a membrane"));
        QCOMPARE(card.hint.value_or(QString()), QStringLiteral("Think of a sponge"));
        QCOMPARE(card.synonyms->first().synonym, QStringLiteral("diffusion"));
        QCOMPARE(card.antonyms.value_or(QList<QString>()), QList<QString>{QStringLiteral("dehydration")});
        QCOMPARE(card.relatedTerms.value_or(QList<QString>()), QList<QString>{QStringLiteral("tonicity")});
        QCOMPARE(card.usageNote.value_or(QString()), QStringLiteral("Used of solvents"));
    }

    void fileSizesUseDecimalUnits_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "Zero KB";
        QTest::newRow("one") << qint64(1) << "1 byte";
        QTest::newRow("bytes") << qint64(999) << "999 bytes";
        QTest::newRow("kilobytes round") << qint64(1'499) << "1 KB";
        QTest::newRow("tie to even") << qint64(2'500) << "2 KB";
        QTest::newRow("just over the deck limit") << qint64(2'097'153) << "2.1 MB";
        QTest::newRow("two and a half") << qint64(2'500'000) << "2.5 MB";
        QTest::newRow("no trailing zero") << qint64(2'000'000) << "2 MB";
        QTest::newRow("rounds up a unit") << qint64(999'999) << "1 MB";
        QTest::newRow("gigabytes") << qint64(1'234'567'890) << "1.23 GB";
    }
    void fileSizesUseDecimalUnits() {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(ByteCountFormatter::fileString(bytes), text);
    }
};

QTEST_GUILESS_MAIN(EndpointRecordsTest)
#include "tst_EndpointRecords.moc"
