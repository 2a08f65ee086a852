#include "SampleDocuments.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QTest>
#include <QUuid>

// Courses and the account: syllabus processing in both forms, typed classes with their study
// plans, the profile, the time zone and account deletion.
class CourseFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    TestServer::Reply postMultipart(const QString& path, const QByteArray& file, const QString& filename) {
        const QByteArray boundary =
            "----OBBoundary-" + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toLatin1();
        QByteArray body =
            "--" + boundary + "\r\nContent-Disposition: form-data; name=\"source\"\r\n\r\nios-pdf\r\n";
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" +
                filename.toUtf8() + "\"\r\nContent-Type: application/pdf\r\n\r\n" + file + "\r\n--" +
                boundary + "--\r\n";
        return server->send("POST", path, body,
                            {{"Content-Type", "multipart/form-data; boundary=" + boundary},
                             {"Authorization", "Bearer " + token.toLatin1()}});
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        device = server->signUp("course@example.com", "study-hard-1");
        token = server->sessionToken(device);
    }
    void cleanup() { server.reset(); }

    void syllabusFileAndText() {
        const QString syllabus =
            "PSYC 101 Introduction to Psychology\nSyllabus\nInstructor: Prof. William James\n"
            "Office Hours: Friday 9-11am\nWeek 1: Research methods\nWeek 2: The brain\n";
        const auto file =
            postMultipart("/api/process-document", SampleDocuments::pdf({syllabus}), "psyc.pdf");
        QCOMPARE(file.status, 200);
        QCOMPARE(file.json().value("status").toString(), "success");
        QCOMPARE(file.json().value("extracted_data").toObject().value("class_instructor").toString(),
                 "Prof. William James");

        const auto imageOnly = postMultipart("/api/process-document", SampleDocuments::pdf({""}), "scan.pdf");
        QVERIFY(imageOnly.json().value("message").toString().contains("empty_or_too_short"));
        const auto tooLarge = postMultipart("/api/process-document", QByteArray(5500001, 'a'), "big.pdf");
        QCOMPARE(tooLarge.status, 413);

        const auto tooShort =
            server->api("POST", "/api/process-document", token,
                        {{"document_content", "  Week 1: intro  "}, {"source", "ios-scan"}});
        QCOMPARE(tooShort.status, 422);
        QVERIFY(tooShort.json().value("detail").toString().contains("empty_or_too_short"));
        const QJsonObject queued =
            server
                ->api("POST", "/api/process-document", token,
                      {{"document_content", "ECON 200 Microeconomics Syllabus\n"
                                            "Instructor: Dr. Adam Smith\nGrading: exams\n"
                                            "Week 1: Supply and demand\nWeek 2: Elasticity"},
                       {"source", "ios-scan"}})
                .json();
        QCOMPARE(queued.value("status").toString(), "queued");
        const QJsonObject result =
            server->waitForJob(queued.value("job_id").toString(), token).value("result").toObject();
        QCOMPARE(result.value("status").toString(), "success");
        QCOMPARE(result.value("source").toString(), "ios-scan");
        QVERIFY(result.value("chunk_count").toInt() >= 1);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).json().value("courses").toArray().size(), 2);
    }

    void typedClassWithStudyPlan() {
        QCOMPARE(server->api("POST", "/api/class-info", token, {{"class_instructor", "x"}}).status, 422);
        const QJsonObject created = server
                                        ->api("POST", "/api/class-info", token,
                                              {{"class_title", "BIOL 201 — Cell Biology"},
                                               {"class_time", "Mon/Wed 10am"},
                                               {"topics", QJsonArray{"Cells", "", "Genes"}}})
                                        .json();
        QCOMPARE(created.value("status").toString(), "success");
        const QString courseId = created.value("course_id").toString();
        const QJsonObject planned =
            server
                ->api("POST", "/api/generate-study-plan", token,
                      {{"course_id", courseId},
                       {"syllabus_info",
                        QJsonObject{{"course_name", "BIOL 201 — Cell Biology"},
                                    {"instructor", "Dr. Franklin"},
                                    {"learning_objectives", QJsonArray{"Ignored: topics exist"}}}}})
                .json();
        QCOMPARE(planned.value("status").toString(), "success");
        const QJsonObject course =
            server->api("GET", "/api/bootstrap", token).json().value("courses").toArray()[0].toObject();
        QCOMPARE(course.value("course_name").toString(), "BIOL 201 — Cell Biology");
        QCOMPARE(course.value("class_information").toObject().value("class_instructor").toString(),
                 "Dr. Franklin");
        const QJsonArray weeks = course.value("study_plan").toObject().value("weeks").toArray();
        QCOMPARE(weeks.size(), 2);
        QCOMPARE(weeks[1].toObject().value("topic").toString(), "Genes");
        QCOMPARE(
            server->api("POST", "/api/generate-study-plan", token, {{"course_id", "course_nope"}}).status,
            404);
    }

    void profileAndTimeZone() {
        const QJsonObject fresh = server->api("GET", "/api/user/profile", token).json();
        QCOMPARE(fresh.value("email").toString(), "course@example.com");
        QCOMPARE(fresh.value("user_id").toString(), device.userId);
        QCOMPARE(fresh.value("has_completed_onboarding").toBool(), false);
        const QJsonArray interests{QJsonObject{{"category", "Science"}, {"items", QJsonArray{"Biology"}}}};
        const QJsonObject updated = server
                                        ->api("PUT", "/api/user/profile", token,
                                              {{"interests", interests}, {"has_completed_onboarding", true}})
                                        .json();
        QCOMPARE(updated.value("interests").toArray(), interests);
        QCOMPARE(updated.value("has_completed_onboarding").toBool(), true);
        // Fields left out keep their values; wrong types are refused.
        server->api("PUT", "/api/user/profile", token, {{"university_id", "u-1"}});
        QCOMPARE(server->api("GET", "/api/user/profile", token).json().value("interests").toArray(),
                 interests);
        QCOMPARE(server->api("PUT", "/api/user/profile", token, {{"interests", "Biology"}}).status, 422);

        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "Europe/Berlin"}})
                     .json()
                     .value("status"),
                 QJsonValue("ok"));
        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "Mars/Olympus"}}).status,
                 422);
    }

    // Every onboarding answer comes back from the profile, also after a restart; a later partial
    // update keeps the rest, and values of the wrong shape are refused.
    void onboardingAnswersRoundTrip() {
        const QJsonObject fresh = server->api("GET", "/api/user/profile", token).json();
        QCOMPARE(fresh.value("school_level"), QJsonValue());
        QCOMPARE(fresh.value("academic_goals").toArray(), QJsonArray());
        const QJsonArray interests{
            QJsonObject{{"category", "Sports"}, {"items", QJsonArray{"Basketball", "Tennis"}}},
            QJsonObject{{"category", "Hobbies"}, {"items", QJsonArray{"Cooking"}}}};
        const QJsonObject answers{{"interests", interests},
                                  {"school_level", "High school"},
                                  {"academic_goals", QJsonArray{"Pass exams", "Master subject"}},
                                  {"study_time_per_week", 12},
                                  {"learning_style", "kinesthetic"},
                                  {"background", "Second-year nursing student"},
                                  {"university_id", "u-42"}};
        QCOMPARE(server->api("PUT", "/api/user/profile", token, answers).status, 200);
        QCOMPARE(server->api("PUT", "/api/user/profile", token, {{"has_completed_onboarding", true}}).status,
                 200);

        server->stop();
        QVERIFY(server->start());
        token = server->sessionToken(device);
        const QJsonObject stored = server->api("GET", "/api/user/profile", token).json();
        for (auto it = answers.begin(); it != answers.end(); ++it)
            QCOMPARE(stored.value(it.key()), it.value());
        QCOMPARE(stored.value("has_completed_onboarding"), QJsonValue(true));

        for (const auto& [key, value] :
             QList<QPair<QString, QJsonValue>>{{"academic_goals", QJsonArray{"Pass exams", 3}},
                                               {"study_time_per_week", 2.5},
                                               {"study_time_per_week", -1},
                                               {"learning_style", 4},
                                               {"school_level", QJsonArray{}}}) {
            QCOMPARE(server->api("PUT", "/api/user/profile", token, {{key, value}}).status, 422);
        }
        QCOMPARE(server->api("GET", "/api/user/profile", token).json().value("study_time_per_week"),
                 QJsonValue(12));
    }

    void universitySearchAndLookup() {
        const QJsonArray found =
            server->api("GET", "/api/universities?q=Texas%20A%26M&limit=5", token).jsonArray();
        QCOMPARE(found.size(), 1);
        const QJsonObject university = found[0].toObject();
        QCOMPARE(university.value("short_name").toString(), "Texas A&M");
        QCOMPARE(university.value("state").toString(), "TX");
        QCOMPARE(university.value("institution_type").toString(), "public");
        QCOMPARE(server->api("GET", "/api/universities/" + university.value("id").toString(), token).json(),
                 university);
        QCOMPARE(server->api("GET", "/api/universities/nowhere", token).status, 404);
        QCOMPARE(server->api("GET", "/api/universities?q=university&limit=3", token).jsonArray().size(), 3);
        QCOMPARE(server->api("GET", "/api/universities?q=mit", {}).status, 401);
    }

    // Directory visibility needs a school; without one it reads as hidden whatever was stored.
    // It is kept per user, across restarts, and goes with the account.
    void schoolDiscoverability() {
        const QString path = "/api/network/discoverability";
        QCOMPARE(server->api("GET", path, token).json(),
                 (QJsonObject{{"is_school_discoverable", false}, {"has_university", false}}));
        QCOMPARE(server->api("POST", path, token, {{"enabled", true}}).status, 409);
        QCOMPARE(server->api("POST", path, token, {{"enabled", "yes"}}).status, 422);
        QCOMPARE(server->api("POST", path, {}, {{"enabled", true}}).status, 401);

        server->api("PUT", "/api/user/profile", token, {{"university_id", "tamu"}});
        const auto set = server->api("POST", path, token, {{"enabled", true}});
        QCOMPARE(set.status, 200);
        QCOMPARE(set.json(), (QJsonObject{{"is_school_discoverable", true}}));

        const TestServer::Device other = server->signUp("other@example.com", "study-hard-3");
        const QString otherToken = server->sessionToken(other);
        QCOMPARE(server->api("GET", path, otherToken).json().value("is_school_discoverable").toBool(), false);

        server->stop();
        QVERIFY(server->start());
        token = server->sessionToken(device);
        QCOMPARE(server->api("GET", path, token).json(),
                 (QJsonObject{{"is_school_discoverable", true}, {"has_university", true}}));
        QCOMPARE(server->api("POST", path, token, {{"enabled", false}}).json(),
                 (QJsonObject{{"is_school_discoverable", false}}));
        server->api("POST", path, token, {{"enabled", true}});

        server->api("DELETE", "/api/user/account", token);
        QVERIFY(!server->server().context().db.row("SELECT * FROM directory_visibility WHERE user_id = ?",
                                                   {device.userId}));
    }

    void accountDeletionRemovesDataAndTheAuthUser() {
        server->api("POST", "/api/class-info", token, {{"class_title", "Doomed"}});
        const auto deleted = server->api("DELETE", "/api/user/account", token);
        QCOMPARE(deleted.json().value("status").toString(), "deleted");
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 401);
        const auto client = server->send("GET", "/v1/client", {}, {{"Authorization", device.deviceToken}});
        QCOMPARE(client.json().value("response").toObject().value("sessions").toArray().size(), 0);
        TestServer::Device fresh;
        const auto signIn =
            server->form("POST", "/v1/client/sign_ins",
                         {{"identifier", "course@example.com"}, {"password", "study-hard-1"}}, fresh);
        QCOMPARE(signIn.errorCode(), "form_identifier_not_found");
        // The address is free again.
        const auto again = server->signUp("course@example.com", "study-hard-2");
        QVERIFY(server->api("GET", "/api/bootstrap", server->sessionToken(again))
                    .json()
                    .value("courses")
                    .toArray()
                    .isEmpty());
    }
};

QTEST_MAIN(CourseFlowTest)
#include "CourseFlowTest.moc"
