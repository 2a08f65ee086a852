// The JSON codec: key conversion as the platform does it, records declared once, and the
// decoding rules for missing, null and mistyped values.
#include "Json.h"
#include "SnakeCase.h"

#include <QtTest>

namespace {

enum class Mood { happy, sleepy };
constexpr std::array<std::pair<Mood, const char*>, 2> jsonRawValues(Mood) {
    return {{{Mood::happy, "happy"}, {Mood::sleepy, "sleepy_cat"}}};
}

struct Inner {
    QString documentId;
    std::optional<int> pageCount;
    JSON_RECORD(Inner, documentId, pageCount)
};

// An acronym field goes out as "user_id", but "user_id" comes back as "userId": as on the
// platform, such a field cannot be read back through key conversion.
struct Acronym {
    QString userID;
    JSON_RECORD(Acronym, userID)
};

struct Outer {
    QString userId;
    bool isActive = false;
    double score = 0;
    qint64 createdAtMs = 0;
    Mood mood = Mood::happy;
    QList<Inner> documents;
    std::optional<Inner> featured;
    QMap<QString, int> countsByCourseId;
    std::optional<QString> nickname;
    JSON_RECORD(Outer, userId, isActive, score, createdAtMs, mood, documents, featured, countsByCourseId,
                nickname)
};

json::DecodingError::Kind failureKind(const QByteArray& bytes) {
    try {
        json::decode<Outer>(bytes);
    } catch (const json::DecodingError& e) {
        return e.kind();
    }
    qFatal("decoding unexpectedly succeeded");
}

} // namespace

class JsonCodecTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysConvertToSnakeCase_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("wire");
        QTest::newRow("plain") << "documentId"
                               << "document_id";
        QTest::newRow("one word") << "status"
                                  << "status";
        QTest::newRow("acronym at end") << "userID"
                                        << "user_id";
        QTest::newRow("acronym inside") << "myURLValue"
                                        << "my_url_value";
        QTest::newRow("leading capitals") << "URL"
                                          << "u_rl";
        QTest::newRow("digits") << "option2Label"
                                << "option2_label";
        QTest::newRow("empty") << ""
                               << "";
    }
    void keysConvertToSnakeCase() {
        QFETCH(QString, field);
        QFETCH(QString, wire);
        QCOMPARE(json::convertToSnakeCase(field), wire);
    }

    void keysConvertFromSnakeCase_data() {
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "document_id"
                               << "documentId";
        QTest::newRow("capitals lowered") << "USER_ID"
                                          << "userId";
        QTest::newRow("already camel") << "documentId"
                                       << "documentId";
        QTest::newRow("outer underscores kept") << "_private_key_"
                                                << "_privateKey_";
        QTest::newRow("double underscore") << "a__b"
                                           << "aB";
        QTest::newRow("only underscores") << "___"
                                          << "___";
    }
    void keysConvertFromSnakeCase() {
        QFETCH(QString, wire);
        QFETCH(QString, field);
        QCOMPARE(json::convertFromSnakeCase(wire), field);
    }

    void recordsRoundTripWithSnakeCaseKeys() {
        const QByteArray wire = R"({"user_id":"u1","is_active":true,"score":2.5,"created_at_ms":1700000000123,
            "mood":"sleepy_cat","documents":[{"document_id":"d1","page_count":3},{"document_id":"d2"}],
            "counts_by_course_id":{"course_A":2},"unknown_key":[1,2]})";
        const Outer o = json::decode<Outer>(wire);
        QCOMPARE(o.userId, QStringLiteral("u1"));
        QCOMPARE(o.createdAtMs, 1700000000123);
        QCOMPARE(o.mood, Mood::sleepy);
        QCOMPARE(o.documents.size(), 2);
        QCOMPARE(o.documents[0].pageCount, 3);
        QVERIFY(!o.documents[1].pageCount);
        QCOMPARE(o.countsByCourseId.value(QStringLiteral("course_A")), 2); // dictionary keys untouched
        QVERIFY(!o.featured);

        const QJsonObject out = json::parse(json::encode(o)).toObject();
        QCOMPARE(out.value(QStringLiteral("user_id")).toString(), QStringLiteral("u1"));
        QCOMPARE(out.value(QStringLiteral("mood")).toString(), QStringLiteral("sleepy_cat"));
        QVERIFY(!out.contains(QStringLiteral("featured"))); // absent optionals are left out
        QVERIFY(!out.contains(QStringLiteral("nickname")));
        QVERIFY(!out.value(QStringLiteral("documents"))
                     .toArray()
                     .at(1)
                     .toObject()
                     .contains(QStringLiteral("page_count")));
        QCOMPARE(out.value(QStringLiteral("counts_by_course_id")).toObject().keys(), QStringList{"course_A"});
    }

    void acronymFieldsDoNotRoundTrip() {
        const QByteArray wire = json::encode(Acronym{QStringLiteral("u")});
        QCOMPARE(wire, QByteArray(R"({"user_id":"u"})"));
        QVERIFY_THROWS_EXCEPTION(json::DecodingError, json::decode<Acronym>(wire));
    }

    void failuresSayWhatWentWrong() {
        using Kind = json::DecodingError::Kind;
        const QByteArray base =
            R"("is_active":true,"score":1,"created_at_ms":1,"mood":"happy","documents":[],"counts_by_course_id":{})";
        QCOMPARE(failureKind("{" + base + "}"), Kind::keyNotFound);
        QCOMPARE(failureKind(R"({"user_id":null,)" + base + "}"), Kind::valueNotFound);
        QCOMPARE(failureKind(R"({"user_id":7,)" + base + "}"), Kind::typeMismatch);
        QCOMPARE(
            failureKind(
                R"({"user_id":"u","is_active":1,"score":1,"created_at_ms":1,"mood":"happy","documents":[],"counts_by_course_id":{}})"),
            Kind::typeMismatch); // numbers are not booleans
        QCOMPARE(
            failureKind(
                R"({"user_id":"u","is_active":true,"score":1,"created_at_ms":1.5,"mood":"happy","documents":[],"counts_by_course_id":{}})"),
            Kind::dataCorrupted); // a fraction is no integer
        QCOMPARE(
            failureKind(
                R"({"user_id":"u","is_active":true,"score":1,"created_at_ms":1,"mood":"grumpy","documents":[],"counts_by_course_id":{}})"),
            Kind::dataCorrupted);
        QCOMPARE(failureKind(""), Kind::dataCorrupted);
        QCOMPARE(failureKind("{\"user_id\":"), Kind::dataCorrupted);
        QCOMPARE(failureKind("[]"), Kind::typeMismatch);

        try {
            json::decode<Outer>(
                R"({"user_id":"u",)" + base.left(base.indexOf("\"documents\"")) +
                R"("documents":[{"document_id":"d"},{"page_count":1}],"counts_by_course_id":{}})");
            QFAIL("expected a failure");
        } catch (const json::DecodingError& e) {
            QCOMPARE(e.kind(), Kind::keyNotFound);
            QCOMPARE(e.codingPath(), QStringLiteral("documents.Index 1"));
            QCOMPARE(e.localizedDescription(),
                     QStringLiteral("The data couldn’t be read because it is missing."));
        }
    }

    void optionalFieldsAcceptNullAndRejectWrongTypes() {
        QVERIFY(!json::decode<Inner>(R"({"document_id":"d","page_count":null})").pageCount);
        QVERIFY_THROWS_EXCEPTION(json::DecodingError,
                                 json::decode<Inner>(R"({"document_id":"d","page_count":"3"})"));
    }

    void bareValuesParse() {
        QCOMPARE(json::decode<int>("  42 "), 42);
        QCOMPARE(json::decode<QString>("\"hi\""), QStringLiteral("hi"));
        QVERIFY(json::parse("null").isNull());
        QVERIFY_THROWS_EXCEPTION(json::DecodingError, json::parse("1 2"));
        QCOMPARE(json::serialize(QJsonValue(true)), QByteArray("true"));
    }
};

QTEST_GUILESS_MAIN(JsonCodecTest)
#include "tst_JsonCodec.moc"
