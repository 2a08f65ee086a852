#include "GenerationJobStatusResponse.h"
#include "GuidedReading/GuidedReadingPlan.h"
#include "InlineOrEnqueued.h"
#include "Json.h"
#include "Reading/GuidedReadingRoutes.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QTest>
#include <memory>

namespace {

const QByteArray cellNotes = R"(# Transport across the cell membrane

A membrane is a thin layer of lipids and proteins around a cell. Osmosis is the movement of water across a membrane toward more solute. Plant roots take up water by osmosis through the membrane.

## Moving against the gradient

Active transport refers to the pumping of molecules against their gradient using energy from ATP. Nerve cells use active transport and diffusion side by side to keep their sodium low.

## Inside the plant cell

A vacuole is a storage sac for water and nutrients in plant cells. Turgor pressure is the push of water against the cell wall of a plant. When the vacuole fills with water, turgor pressure keeps the plant upright.

Diffusion is the net spread of particles from crowded places to sparse ones. Cytoplasm is the jelly-like fluid that fills the inside of a cell.
)";

const QByteArray geneticsNotes = R"(# Heredity

An allele is a version of a gene that sits at the same place on a chromosome. Genotype refers to the pair of alleles an organism carries for a trait.
)";

const QStringList styles{"comprehensive", "quick_review", "deep_dive", "study_guide", "discussion_prep"};

QString query(const QString& type, const QString& documentId = {}) {
    return "?template_type=" + type + (documentId.isEmpty() ? QString() : "&document_id=" + documentId);
}

// The plan as the app decodes it, from an inline answer with one template; anything else fails the test.
GuidedReadingPlan planOf(const TestServer::Reply& reply) {
    if (reply.status != 200)
        qFatal("answered %d: %s", reply.status, reply.body.constData());
    const auto answer = json::decode<InlineOrEnqueued<GuidedReadingPlan>>(reply.body);
    if (!answer.payload() || !answer.payload()->templates || answer.payload()->templates->size() != 1)
        qFatal("answered no single-template plan: %s", reply.body.constData());
    return *answer.payload();
}

GuidedReadingTemplate guide(const TestServer::Reply& reply) {
    return planOf(reply).templates->first();
}

qsizetype count(const auto& list) {
    return list ? list->size() : 0;
}

qsizetype openQuestions(const GuidedReadingTemplate& t) {
    return std::count_if(t.comprehensionQuestions->begin(), t.comprehensionQuestions->end(),
                         [](const GRComprehensionQuestion& q) { return q.type == "open"; });
}

} // namespace

// /api/guided-reading over HTTPS: plans in five styles written from the course's or one document's
// text, stored per style and replaced on regenerate, refused for others' courses and documents.
class GuidedReadingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString token;
    QString courseId;
    QString documentId;

    QString addNotes(const QString& course, const QByteArray& text, const QString& as) {
        const QString id = server->uploadDocument(as, text, "notes.txt", "text/plain", course);
        server->waitForProcessing(id, as);
        return id;
    }

    TestServer::Reply regenerate(const QString& course, const QString& type, const QString& document = {},
                                 const QString& as = {}) {
        return server->api("POST", "/api/guided-reading/" + course + "/regenerate" + query(type, document),
                           as.isEmpty() ? token : as);
    }

    TestServer::Reply fetch(const QString& course, const QString& type, const QString& document = {},
                            const QString& as = {}) {
        return server->api("GET", "/api/guided-reading/" + course + "/plan" + query(type, document),
                           as.isEmpty() ? token : as);
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        token = server->sessionToken(server->signUp("reader@example.com", "guided-reading-1"));
        courseId = server->addCourse(token, "BIOL 110");
        documentId = addNotes(courseId, cellNotes, token);
    }

    void everyStyleIsAWellFormedPlanFromTheText() {
        const QString text = QString::fromUtf8(cellNotes);
        QHash<QString, GuidedReadingTemplate> written;
        for (const QString& type : styles) {
            const GuidedReadingTemplate t = guide(regenerate(courseId, type));
            QCOMPARE(t.templateType, type);
            QCOMPARE(t.chapterTitle, "BIOL 110");
            QVERIFY(!t.templateId.isEmpty());
            QVERIFY(t.estimatedTime && *t.estimatedTime >= 1);
            QVERIFY(count(t.learningObjectives) > 0);
            QVERIFY(count(t.keyConcepts) > 0);
            QVERIFY(count(t.readingTips) > 0);
            QVERIFY(count(t.actionItems) > 0);
            QVERIFY(count(t.comprehensionQuestions) > 0);
            QCOMPARE(count(t.cornellLeftColumn), count(t.cornellRightColumn));
            QVERIFY(count(t.cornellLeftColumn) > 0);
            for (const QString& cue : *t.cornellLeftColumn)
                QVERIFY2(cue.endsWith('?'), qPrintable(cue));
            // The notes column and the vocabulary are the text's own words.
            for (const QString& passageNote : *t.cornellRightColumn)
                QVERIFY2(text.contains(passageNote.first(40)), qPrintable(passageNote));
            QVERIFY(count(t.vocabulary) > 0);
            for (const GRVocabularyTerm& term : *t.vocabulary) {
                QVERIFY2(text.contains(term.term, Qt::CaseInsensitive), qPrintable(term.term));
                QVERIFY2(text.contains(term.definition.first(20), Qt::CaseInsensitive),
                         qPrintable(term.definition));
                QVERIFY(term.context && text.contains(*term.context));
            }
            // Factual questions are answered by the term's own definition.
            for (const GRComprehensionQuestion& q : *t.comprehensionQuestions)
                if (q.type == "factual")
                    QVERIFY(std::any_of(t.vocabulary->begin(), t.vocabulary->end(),
                                        [&](const GRVocabularyTerm& v) {
                                            return q.question.endsWith(' ' + v.term + '?') &&
                                                   q.expectedAnswer == v.definition;
                                        }));
                else
                    QVERIFY2(q.expectedAnswer && q.expectedAnswer->startsWith("Outline:"),
                             qPrintable(q.question));
            // What was written is what is fetched.
            QCOMPARE(guide(fetch(courseId, type)).templateId, t.templateId);
            written.insert(type, t);
        }

        // The styles differ in what they stress.
        const auto& quick = written["quick_review"];
        const auto& full = written["comprehensive"];
        const auto& deep = written["deep_dive"];
        const auto& study = written["study_guide"];
        const auto& discussion = written["discussion_prep"];
        QVERIFY(!quick.beforeReadingQuestions && !quick.afterReadingQuestions && !quick.connections);
        QVERIFY(full.beforeReadingQuestions && full.afterReadingQuestions && full.connections &&
                full.keyRelationships);
        QVERIFY(count(deep.cornellLeftColumn) > count(quick.cornellLeftColumn));
        QVERIFY(count(deep.comprehensionQuestions) > count(quick.comprehensionQuestions));
        QVERIFY(count(study.vocabulary) > count(quick.vocabulary));
        QVERIFY(openQuestions(discussion) > openQuestions(study));
        QCOMPARE(openQuestions(quick), 0);
        QVERIFY(count(discussion.questionsForExploration) > 0 && !study.questionsForExploration);
        QVERIFY(*quick.estimatedTime <= *deep.estimatedTime);
    }

    void regenerateReplacesThePlanOfItsStyleAndDocument() {
        const TestServer::Reply none = fetch(courseId, "study_guide");
        QCOMPARE(none.status, 404);
        QVERIFY(none.json()["detail"].toString().startsWith("No reading guide yet"));

        const GuidedReadingPlan first = planOf(regenerate(courseId, "study_guide"));
        const auto terms = [](const GuidedReadingPlan& plan) {
            QStringList out;
            for (const GRVocabularyTerm& term : *plan.templates->first().vocabulary)
                out.append(term.term.toLower());
            return out;
        };
        QVERIFY(!terms(first).contains("allele"));

        // New notes in the course: the next guide reads them, under the same plan id.
        const QString genetics = addNotes(courseId, geneticsNotes, token);
        server->advanceClock(2000);
        const GuidedReadingPlan second = planOf(regenerate(courseId, "study_guide"));
        QVERIFY(terms(second).contains("allele"));
        QCOMPARE(second.planId, first.planId);
        QCOMPARE(second.generatedAt, first.generatedAt);
        QVERIFY(second.lastUpdated != first.lastUpdated);
        QVERIFY(second.templates->first().templateId != first.templates->first().templateId);
        const GuidedReadingPlan stored = planOf(fetch(courseId, "study_guide"));
        QCOMPARE(stored.templates->first().templateId, second.templates->first().templateId);
        QCOMPARE(fetch(courseId, "deep_dive").status, 404);

        // One document's guide is its own: its title, the course as the book, its terms only.
        QCOMPARE(fetch(courseId, "study_guide", genetics).status, 404);
        const GuidedReadingTemplate single = guide(regenerate(courseId, "study_guide", genetics));
        QCOMPARE(single.chapterTitle, "notes");
        QCOMPARE(single.bookTitle, "BIOL 110");
        for (const GRVocabularyTerm& term : *single.vocabulary)
            QVERIFY2(QString::fromUtf8(geneticsNotes).contains(term.term, Qt::CaseInsensitive),
                     qPrintable(term.term));
        QCOMPARE(fetch(courseId, "study_guide").json()["templates"][0]["template_id"].toString(),
                 second.templates->first().templateId);

        // A deleted document takes its guides with it.
        QCOMPARE(server->api("DELETE", "/api/documents/" + genetics, token).status, 200);
        QCOMPARE(
            server->server()
                .context()
                .db.row("SELECT COUNT(*) AS n FROM guided_reading_plans WHERE document_id = ?", {genetics})
                ->value("n")
                .toInt(),
            0);
    }

    void refusesOthersCoursesDocumentsAndUnknownStyles() {
        const QString otherToken =
            server->sessionToken(server->signUp("other@example.com", "guided-reading-2"));
        const QString otherCourse = server->addCourse(otherToken, "HIST 200");
        const QString otherDocument = addNotes(otherCourse, geneticsNotes, otherToken);
        const QString mySecondCourse = server->addCourse(token, "CHEM 101");

        QCOMPARE(regenerate(otherCourse, "comprehensive").status, 404);
        QCOMPARE(fetch(otherCourse, "comprehensive").status, 404);
        QCOMPARE(fetch(courseId, "comprehensive", {}, otherToken).status, 404);
        // A document must be the user's and in this course.
        QCOMPARE(regenerate(courseId, "comprehensive", otherDocument).status, 404);
        QCOMPARE(regenerate(mySecondCourse, "comprehensive", documentId).status, 404);
        QCOMPARE(fetch(courseId, "comprehensive", otherDocument).status, 404);

        const TestServer::Reply badStyle = regenerate(courseId, "speed_read");
        QCOMPARE(badStyle.status, 422);
        QVERIFY(badStyle.json()["detail"].toString().contains("discussion_prep"));
        QCOMPARE(fetch(courseId, "").status, 422);

        // A course without text has nothing to guide.
        const TestServer::Reply empty = regenerate(mySecondCourse, "comprehensive");
        QCOMPARE(empty.status, 422);
        QVERIFY(empty.json()["detail"].toString().contains("no processed documents"));
        QCOMPARE(fetch(mySecondCourse, "comprehensive").status, 404);
    }

    void longCoursesAreWrittenByAJob() {
        QByteArray text = cellNotes + "\n";
        while (text.size() <= GuidedReadingRoutes::inlineTextLimit)
            text +=
                "\nThe samples were weighed again after an hour in the bath and the results were written in "
                "the lab book, which the group then compared with the previous week's table.\n";
        const QString longCourse = server->addCourse(token, "BIOL 220");
        addNotes(longCourse, text, token);

        const TestServer::Reply queued = regenerate(longCourse, "quick_review");
        QCOMPARE(queued.status, 200);
        const auto answer = json::decode<InlineOrEnqueued<GuidedReadingPlan>>(queued.body);
        QVERIFY(answer.job());
        QCOMPARE(answer.job()->jobType, GuidedReadingRoutes::jobType);
        const auto job = json::fromValue<GenerationJobStatusResponse<GuidedReadingPlan>>(
            server->waitForJob(answer.job()->jobId, token));
        QCOMPARE(job.status, GenerationJobStatus::complete);
        QVERIFY(job.result && job.result->templates);
        QCOMPARE(job.result->templates->first().templateType, "quick_review");
        // The job's plan is stored like an inline one.
        QCOMPARE(fetch(longCourse, "quick_review").json()["templates"][0]["template_id"].toString(),
                 job.result->templates->first().templateId);
    }
};

QTEST_GUILESS_MAIN(GuidedReadingTest)
#include "GuidedReadingTest.moc"
