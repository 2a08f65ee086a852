#include <QtTest>

#include "APIClient.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Settings/DiscoverabilityModel.h"
#include "Settings/SettingsModel.h"
#include "Settings/UniversityPickerModel.h"
#include "VirtualClock.h"

#include <QJsonDocument>

using namespace std::chrono_literals;

namespace {

async::Task<void> countSignOut(int* count) {
    ++*count;
    co_return;
}

QByteArray compact(const QByteArray& json) {
    return QJsonDocument::fromJson(json).toJson(QJsonDocument::Compact);
}

const QByteArray schools = R"([
    {"id":"tamu","name":"Texas A&M University","short_name":"TAMU","state":"TX","city":"College Station"},
    {"id":"tamucc","name":"Texas A&M University–Corpus Christi","state":"TX"}])";

} // namespace

// The settings screen's models against a scripted server: the school picker, the directory
// switch and account deletion.
class SettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Typing waits for a pause and sends only the latest text, encoded; choosing a result stores
    // its id in the profile and clears the search.
    void universitySearchAndChoice() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        UniversityPickerModel picker(scriptedClient(server));
        QSignalSpy changed(&picker, &UniversityPickerModel::universityChanged);

        picker.setQuery("Tex");
        QVERIFY(picker.isSearching());
        clock.advance(UniversityPickerModel::searchDelay - 1ms);
        picker.setQuery("Texas A&M ");
        clock.advance(UniversityPickerModel::searchDelay - 1ms);
        QTest::qWait(20);
        QCOMPARE(server.requestCount(), 0);

        server.enqueue(ScriptedResponse::json(200, schools));
        clock.advance(1ms);
        QTRY_COMPARE(picker.results().size(), 2);
        QVERIFY(!picker.isSearching());
        QCOMPARE(server.requestCount(), 1);
        QCOMPARE(server.requests()[0].target, QByteArray("/api/universities?q=Texas%20A%26M&limit=20"));
        const QVariantMap first = picker.results()[0].toMap();
        QCOMPARE(first["name"].toString(), QStringLiteral("Texas A&M University"));
        QCOMPARE(first["detail"].toString(), QStringLiteral("College Station, TX · TAMU"));
        QCOMPARE(picker.results()[1].toMap()["detail"].toString(), QStringLiteral("TX"));

        server.enqueue(ScriptedResponse::json(200, R"({"user_id":"u1","university_id":"tamucc"})"));
        picker.choose(1);
        QVERIFY(picker.isSaving());
        QTRY_COMPARE(changed.size(), 1);
        const RecordedRequest& put = server.requests()[1];
        QCOMPARE(put.method, QByteArray("PUT"));
        QCOMPARE(put.path, QByteArray("/api/user/profile"));
        QCOMPARE(compact(put.body), QByteArray(R"({"university_id":"tamucc"})"));
        QCOMPARE(picker.selectedId(), QStringLiteral("tamucc"));
        QCOMPARE(picker.selectedName(), QStringLiteral("Texas A&M University–Corpus Christi"));
        QVERIFY(picker.query().isEmpty());
        QVERIFY(picker.results().isEmpty());

        // Clearing the text clears the results without asking the server.
        picker.setQuery("   ");
        QVERIFY(!picker.isSearching());
        clock.advance(1s);
        QCOMPARE(server.requestCount(), 2);
    }

    void universityFromProfileAndRefusedChoice() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, R"({"user_id":"u1","university_id":"mit"})"));
        server.enqueue(ScriptedResponse::json(200, R"({"id":"mit","name":"MIT"})"));
        UniversityPickerModel picker(scriptedClient(server));
        picker.load();
        QTRY_COMPARE(picker.selectedName(), QStringLiteral("MIT"));
        QCOMPARE(server.requests()[1].path, QByteArray("/api/universities/mit"));

        server.enqueue(ScriptedResponse::json(200, schools));
        picker.setQuery("texas");
        clock.advance(UniversityPickerModel::searchDelay);
        QTRY_COMPARE(picker.results().size(), 2);
        server.enqueue(ScriptedResponse::json(422, R"({"detail":"Invalid value for university_id."})"));
        picker.choose(0);
        QTRY_VERIFY(!picker.isSaving());
        QVERIFY(picker.errorMessage().startsWith("Couldn't save your school: "));
        QCOMPARE(picker.selectedName(), QStringLiteral("MIT"));
        QCOMPARE(picker.results().size(), 2);
    }

    // The switch moves at once and sends {"enabled": …}; a refused change puts it back.
    void discoverabilityToggleAndRollback() {
        ScriptedHttpServer server;
        server.enqueue(
            ScriptedResponse::json(200, R"({"is_school_discoverable":false,"has_university":true})"));
        DiscoverabilityModel directory(scriptedClient(server));
        directory.load();
        QTRY_VERIFY(directory.isLoaded());
        QVERIFY(directory.hasUniversity());
        QVERIFY(!directory.isSchoolDiscoverable());

        server.enqueue(
            ScriptedResponse::held(ScriptedResponse::json(200, R"({"is_school_discoverable":true})")));
        directory.setDiscoverable(true);
        QVERIFY(directory.isSchoolDiscoverable());
        QVERIFY(directory.isUpdating());
        QTRY_COMPARE(server.heldCount(), 1);
        QCOMPARE(server.requests()[1].method, QByteArray("POST"));
        QCOMPARE(server.requests()[1].path, QByteArray("/api/network/discoverability"));
        QCOMPARE(compact(server.requests()[1].body), QByteArray(R"({"enabled":true})"));
        server.releaseHeld();
        QTRY_VERIFY(!directory.isUpdating());
        QVERIFY(directory.isSchoolDiscoverable());
        QVERIFY(directory.errorMessage().isEmpty());

        server.enqueue(ScriptedResponse::json(500, R"({"detail":"directory offline"})"));
        directory.setDiscoverable(false);
        QVERIFY(!directory.isSchoolDiscoverable());
        QTRY_VERIFY(!directory.isUpdating());
        QVERIFY(directory.isSchoolDiscoverable());
        QVERIFY(directory.errorMessage().startsWith("Couldn't change your directory setting: "));
        QCOMPARE(compact(server.requests()[2].body), QByteArray(R"({"enabled":false})"));
    }

    void deleteAccountOutcomes_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("signsOut");
        QTest::newRow("deleted") << 200 << QByteArray(R"({"status":"deleted"})") << QString() << true;
        QTest::newRow("auth record left")
            << 200 << QByteArray(R"({"status":"partial","message":"auth user kept"})")
            << SettingsModel::partialDeletionMessage << false;
        QTest::newRow("signed out") << 401 << QByteArray(R"({"detail":"expired"})")
                                    << QStringLiteral("Your session expired. Please sign in again.") << false;
        QTest::newRow("server error")
            << 500 << QByteArray(R"({"detail":"db locked"})")
            << QStringLiteral("Couldn't delete your account on the server: ") +
                   APIError::server(500, QStringLiteral(R"({"detail":"db locked"})")).errorDescription()
            << false;
    }

    // Deletion sends DELETE /api/user/account and signs out only after a full deletion; every
    // other outcome leaves its own line.
    void deleteAccountOutcomes() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        QFETCH(bool, signsOut);
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(status, body));
        int signOuts = 0;
        SettingsModel settings(scriptedClient(server), [&signOuts] { return countSignOut(&signOuts); });
        settings.deleteAccount();
        QVERIFY(settings.isDeletingAccount());
        QTRY_VERIFY(!settings.isDeletingAccount());
        QCOMPARE(server.requests()[0].method, QByteArray("DELETE"));
        QCOMPARE(server.requests()[0].path, QByteArray("/api/user/account"));
        QCOMPARE(settings.deletionMessage(), message);
        QCOMPARE(signOuts, signsOut ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_Settings.moc"
