// Free-form JSON values and where the backend's base URL comes from.
#include "APIConfiguration.h"
#include "AppInfo.h"
#include "JSONValue.h"
#include "Json.h"

#include <QProcess>
#include <QtTest>

class ValuesAndConfigurationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jsonValuesKeepTheirKind() {
        using Object = JSONValue::Object;
        QCOMPARE(json::decode<JSONValue>("1"), JSONValue(1.0));
        QCOMPARE(json::decode<JSONValue>("true"), JSONValue(true));
        QVERIFY(json::decode<JSONValue>("true") != JSONValue(1.0));
        const JSONValue object = json::decode<JSONValue>(R"({"a":null,"b":[1,"x",{"c":false}]})");
        const Object* o = object.get<Object>();
        QVERIFY(o);
        QVERIFY(o->value(QStringLiteral("a")).isNull());
        QVERIFY(o->contains(QStringLiteral("a")));
        QCOMPARE(o->value(QStringLiteral("b")).get<JSONValue::Array>()->at(1),
                 JSONValue(QStringLiteral("x")));
        QCOMPARE(json::decode<JSONValue>(json::encode(object)), object);
    }

    void baseURLsMustBeUsableStrings() {
        using APIConfiguration::parseBaseURL;
        QCOMPARE(parseBaseURL(QStringLiteral("https://api.orbelo.app/v2")),
                 QUrl(QStringLiteral("https://api.orbelo.app/v2")));
        QVERIFY(!parseBaseURL(QString()));
        QVERIFY(!parseBaseURL(QStringLiteral("https://exa mple.com")));
    }

    void aMissingBaseURLStopsTheProcess() {
        if (qEnvironmentVariableIsSet("ORBELO_TEST_MISSING_BASE_URL")) {
            AppInfo::replace({.apiBaseUrl = QString()});
            APIConfiguration::baseURL();
            return;
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORBELO_TEST_MISSING_BASE_URL"), QStringLiteral("1"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:handle_abort=0"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("aMissingBaseURLStopsTheProcess")});
        QVERIFY(child.waitForFinished());
        QVERIFY(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0);
        // QtTest reports fatal messages on standard output.
        const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
        QVERIFY(QString::fromUtf8(output).contains(QString::fromUtf8(APIConfiguration::fatalMessage)));
    }

    void theBuildConfigurationHasABaseURL() { QVERIFY(APIConfiguration::baseURL().isValid()); }
};

QTEST_GUILESS_MAIN(ValuesAndConfigurationTest)
#include "tst_ValuesAndConfiguration.moc"
