// The user's own endpoints and the school directory, as they go over the wire.
#include "APIError.h"
#include "EndpointHarness.h"
#include "User/UniversityAPI.h"
#include "User/UserAPI.h"

class UserEndpointsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bootstrapReadsCoursesAndDocumentsInTheirLooseShapes() {
        EndpointHarness h;
        h.answer(QStringLiteral("bootstrap.json"));
        const BootstrapResponse answer = h.await(UserAPI(h.client()).bootstrap());
        COMPARE_REQUEST(h.request(), "GET", "/api/bootstrap", nullptr);

        QCOMPARE(answer.courses.size(), 3);
        QCOMPARE(answer.courses[1].courseId, QStringLiteral("doc_77aa"));
        QCOMPARE(answer.courses[1].courseName.value_or(QString()), QStringLiteral("Organic Chemistry I"));
        QCOMPARE(answer.courses[2].courseId, QStringLiteral("crs_hist110"));
        QCOMPARE(answer.courses[2].courseName.value_or(QString()), QStringLiteral("HIST 110"));
        QCOMPARE(answer.documents.size(), 2);
        QCOMPARE(answer.documents[0].id, QStringLiteral("doc_9f2c"));
        QCOMPARE(answer.documents[1].uploadedAt.value_or(QString()), QStringLiteral("2026-02-10T09:02:45Z"));
        QCOMPARE(answer.documents[1].processingState(), DocumentItem::ProcessingState::processing);
        QCOMPARE(answer.documentsCount, 27);
    }

    void bootstrapNeedsItsListsButNotItsCount() {
        EndpointHarness h;
        h.answerJson(R"({"courses":[],"documents":[{"id":"d1"}]})");
        QVERIFY(!h.await(UserAPI(h.client()).bootstrap()).documentsCount);

        h.answerJson(R"({"documents":[],"documents_count":0})");
        const APIError error = h.failure<APIError>(UserAPI(h.client()).bootstrap());
        QCOMPARE(error.kind(), APIError::Kind::decoding);
    }

    void profileReadAndUpdate() {
        EndpointHarness h;
        const UserAPI api(h.client());
        h.answer(QStringLiteral("profile.json"));
        const UserProfileResponse profile = h.await(api.profile());
        COMPARE_REQUEST(h.request(), "GET", "/api/user/profile", nullptr);
        QCOMPARE(EndpointHarness::reencoded(profile), EndpointHarness::canonical(h.fixture("profile.json")));

        UserProfileUpdateRequest interestsOnly;
        interestsOnly.interests =
            QList<UserInterest>{{QStringLiteral("Science"), {QStringLiteral("Biology")}}};
        h.answer(QStringLiteral("profile.json"));
        h.await(api.updateProfile(interestsOnly));
        COMPARE_REQUEST(h.request(), "PUT", "/api/user/profile",
                        R"({"interests":[{"category":"Science","items":["Biology"]}]})");

        UserProfileUpdateRequest onboarding;
        onboarding.schoolLevel = QStringLiteral("undergraduate");
        onboarding.academicGoals = QList<QString>{QStringLiteral("Ace the MCAT")};
        onboarding.studyTimePerWeek = 6;
        onboarding.learningStyle = QStringLiteral("visual");
        onboarding.hasCompletedOnboarding = true;
        h.answer(QStringLiteral("profile.json"));
        h.await(api.updateProfile(onboarding));
        COMPARE_REQUEST(h.request(), "PUT", "/api/user/profile",
                        R"({"school_level":"undergraduate","academic_goals":["Ace the MCAT"],
                            "study_time_per_week":6,"learning_style":"visual","has_completed_onboarding":true})");
    }

    void timezoneReportAndAccountDeletion() {
        EndpointHarness h;
        const UserAPI api(h.client());
        h.answerJson(R"({"status":"ok"})");
        QCOMPARE(h.await(api.reportTimezone(QStringLiteral("America/Chicago"))).status.value_or(QString()),
                 QStringLiteral("ok"));
        COMPARE_REQUEST(h.request(), "PATCH", "/api/user/timezone", R"({"timezone":"America/Chicago"})");

        h.answerJson(R"({"status":"deleted","message":"Your account and data were removed."})");
        const DeleteAccountResponse deleted = h.await(api.deleteAccount());
        COMPARE_REQUEST(h.request(), "DELETE", "/api/user/account", nullptr);
        QCOMPARE(deleted.status, QStringLiteral("deleted"));
        QCOMPARE(deleted.message.value_or(QString()), QStringLiteral("Your account and data were removed."));
    }

    void universitySearchEncodesTheQueryText() {
        EndpointHarness h;
        h.answer(QStringLiteral("universities.json"));
        const QList<University> found =
            h.await(UniversityAPI(h.client()).search(QStringLiteral("Texas A&M = C++ #1"), 20));
        COMPARE_REQUEST(h.request(), "GET",
                        "/api/universities?q=Texas%20A%26M%20%3D%20C%2B%2B%20%231&limit=20", nullptr);
        QCOMPARE(EndpointHarness::reencoded(found),
                 EndpointHarness::canonical(h.fixture("universities.json")));
    }

    void universityIdIsEncodedForThePath() {
        EndpointHarness h;
        h.answer(QStringLiteral("university.json"));
        const University university =
            h.await(UniversityAPI(h.client()).university(QStringLiteral("univ 42/b")));
        COMPARE_REQUEST(h.request(), "GET", "/api/universities/univ%2042/b", nullptr);
        QCOMPARE(EndpointHarness::reencoded(university),
                 EndpointHarness::canonical(h.fixture("university.json")));
    }
};

QTEST_GUILESS_MAIN(UserEndpointsTest)
#include "tst_UserEndpoints.moc"
