#include <QtTest>

#include "Reading/ReadingGuideModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace {

// A plan whose one template says which style it was written in.
QByteArray planBody(const QString& style, const QJsonObject& extra = {}) {
    QJsonObject content{{"template_id", "t_" + style},
                        {"chapter_title", "Cell Biology"},
                        {"template_type", style},
                        {"learning_objectives", QJsonArray{"Objective of " + style}}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        content.insert(it.key(), it.value());
    return QJsonDocument(
               QJsonObject{{"plan_id", "p1"}, {"course_id", "c1"}, {"templates", QJsonArray{content}}})
        .toJson(QJsonDocument::Compact);
}

const QJsonArray vocabulary{QJsonObject{{"term", "Osmosis"},
                                        {"definition", "Water crossing a membrane"},
                                        {"context", "Roots take up water by osmosis."}},
                            QJsonObject{{"term", "Vacuole"}, {"definition", "  "}}};

// The guided-reading backend on a scripted server: a plan per style (none: 404), each answer held
// while its style is in `hold`.
struct Backend {
    ScriptedHttpServer server;
    QHash<QString, QByteArray> plans;
    QHash<QString, QByteArray> regenerated;
    QSet<QString> hold;
    int failWith = 0;

    Backend() {
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) {
        const QString style = QUrlQuery(QString::fromUtf8(r.query)).queryItemValue("template_type");
        ScriptedResponse response = ScriptedResponse::json(404, R"({"detail":"No reading guide yet."})");
        if (failWith)
            response = ScriptedResponse::json(failWith, R"({"detail":"The course has no text"})");
        else if (r.path.endsWith("/regenerate") && regenerated.contains(style))
            response = ScriptedResponse::json(200, regenerated.value(style));
        else if (r.path.endsWith("/plan") && plans.contains(style))
            response = ScriptedResponse::json(200, plans.value(style));
        return hold.contains(style) ? ScriptedResponse::held(response) : response;
    }
};

} // namespace

// The reading guide's model over loopback HTTP: the plan of the selected style only, the guide's
// sections as the screen shows them, a missing guide, failures and regeneration.
class ReadingTest : public QObject {
    Q_OBJECT

private slots:
    void aFetchForAStyleNoLongerSelectedIsDropped() {
        Backend backend;
        backend.plans = {{"comprehensive", planBody("comprehensive")}, {"deep_dive", planBody("deep_dive")}};
        backend.hold = {"comprehensive"};
        ReadingGuideModel model(scriptedClient(backend.server));
        model.setCourseId("c1");
        model.load();
        QTRY_COMPARE(backend.server.heldCount(), 1);
        QVERIFY(model.isLoading());

        model.selectTemplate(int(ReadingTemplateType::deepDive));
        QTRY_VERIFY(model.hasPlan());
        QCOMPARE(model.learningObjectives(), QStringList{"Objective of deep_dive"});
        // The slow answer for the style left behind arrives last and changes nothing.
        backend.server.releaseHeld();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(model.learningObjectives(), QStringList{"Objective of deep_dive"});
        QVERIFY(!model.isLoading());

        // Going back shows nothing of deep_dive while comprehensive loads.
        backend.hold.clear();
        model.selectTemplate(int(ReadingTemplateType::comprehensive));
        QVERIFY(!model.hasPlan());
        QVERIFY(model.learningObjectives().isEmpty());
        QTRY_COMPARE(model.learningObjectives(), QStringList{"Objective of comprehensive"});
    }

    void sectionsFollowThePlan() {
        Backend backend;
        backend.plans = {
            {"comprehensive",
             planBody("comprehensive", {{"key_concepts", QJsonArray{"Diffusion", " "}},
                                        {"estimated_time", 12},
                                        {"cornell_left_column", QJsonArray{"What is osmosis?"}},
                                        {"cornell_right_column", QJsonArray{"Water moves."}},
                                        {"comprehension_questions",
                                         QJsonArray{QJsonObject{{"question", "What is osmosis?"},
                                                                {"expected_answer", "Water crossing"}},
                                                    QJsonObject{{"question", "Why?"}}}}})},
            {"study_guide", planBody("study_guide", {{"vocabulary", vocabulary}})}};
        ReadingGuideModel model(scriptedClient(backend.server));
        model.setCourseId("c1");
        model.setTitle("BIOL 110");
        model.load();
        QTRY_VERIFY(model.hasPlan());
        QCOMPARE(model.keyConcepts(), QStringList{"Diffusion"});
        QCOMPARE(model.estimatedTimeText(), "12 min");
        QCOMPARE(model.cornellReadAloudText(), "What is osmosis? Water moves.");
        const QVariantList questions = model.questions();
        QCOMPARE(questions.size(), 2);
        QCOMPARE(questions[0].toMap().value("answer").toString(), "Water crossing");
        QCOMPARE(questions[1].toMap().value("answer").toString(), QString());
        // Absent sections are empty; no vocabulary means no flashcards.
        QVERIFY(model.vocabulary().isEmpty() && model.vocabularyCards().isEmpty());
        QVERIFY(model.connections().isEmpty() && model.actionItems().isEmpty() &&
                model.readingTips().isEmpty());

        model.selectTemplate(int(ReadingTemplateType::studyGuide));
        QTRY_VERIFY(model.hasPlan());
        QCOMPARE(model.vocabulary().size(), 2);
        QCOMPARE(model.vocabulary()[0].toMap().value("context").toString(),
                 "Roots take up water by osmosis.");
        // A term with a blank definition makes no card.
        const QVariantList cards = model.vocabularyCards();
        QCOMPARE(cards.size(), 1);
        QCOMPARE(cards[0].toMap(),
                 (QVariantMap{{"front", "Osmosis"}, {"back", "Water crossing a membrane"}}));
        QVERIFY(model.estimatedTimeText().isEmpty());
        QVERIFY(model.keyConcepts().isEmpty());
    }

    void aMissingGuideIsNoErrorAndRegenerateFillsIt() {
        Backend backend;
        ReadingGuideModel model(scriptedClient(backend.server));
        model.setCourseId("c1");
        model.setDocumentId("d7");
        model.selectTemplate(int(ReadingTemplateType::quickReview));
        QCOMPARE(model.loadingText(), "Building your quick review guide…");
        QCOMPARE(model.emptyText(),
                 "Generate a Quick review reading guide for this course — Cornell notes, key "
                 "concepts, vocabulary, and comprehension questions.");
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(!model.hasPlan());
        QVERIFY(model.errorText().isEmpty());

        backend.regenerated = {{"quick_review", planBody("quick_review")}};
        model.regenerate();
        QVERIFY(model.isGenerating());
        QTRY_VERIFY(model.hasPlan());
        QVERIFY(!model.isGenerating());
        const RecordedRequest sent = backend.server.requests().last();
        QCOMPARE(sent.method, "POST");
        QCOMPARE(sent.target, "/api/guided-reading/c1/regenerate?template_type=quick_review&document_id=d7");
    }

    void aGuideWrittenForAStyleLeftBehindIsNotShown() {
        Backend backend;
        backend.plans = {{"discussion_prep", planBody("discussion_prep")}};
        backend.regenerated = {{"comprehensive", planBody("comprehensive")}};
        backend.hold = {"comprehensive"};
        ReadingGuideModel model(scriptedClient(backend.server));
        model.setCourseId("c1");
        model.regenerate();
        QTRY_COMPARE(backend.server.heldCount(), 1);
        model.selectTemplate(int(ReadingTemplateType::discussionPrep));
        backend.server.releaseHeld();
        // Once the generation ends, the style now selected is fetched and shown.
        QTRY_COMPARE(model.learningObjectives(), QStringList{"Objective of discussion_prep"});
        QVERIFY(!model.isGenerating());
    }

    void failuresAreOneSentence() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.failWith = 422;
        ReadingGuideModel model(scriptedClient(backend.server));
        model.setCourseId("c1");
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.errorText(), "Couldn't load the reading guide: The course has no text.");
        QVERIFY(!model.hasPlan());

        // A regeneration that fails says so the same way; a fetch that works clears it.
        model.regenerate();
        QTRY_VERIFY(!model.isGenerating());
        QCOMPARE(model.errorText(), "Couldn't load the reading guide: The course has no text.");
        backend.failWith = 0;
        backend.plans = {{"comprehensive", planBody("comprehensive")}};
        model.load();
        QTRY_VERIFY(model.hasPlan());
        QVERIFY(model.errorText().isEmpty());
    }
};

QTEST_GUILESS_MAIN(ReadingTest)
#include "tst_Reading.moc"
