#include "LogText.h"
#include "RawExchange.h"
#include "TestServer.h"

#include <QDir>
#include <QLoggingCategory>
#include <QTest>

namespace {
QStringList logged;

void keep(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category) == "orbelo.server.http")
        logged.append(message);
}
} // namespace

// What the server writes to its log from a request: one line per request whatever the request
// holds, and no longer than its cap.
class RequestLogTest : public QObject {
    Q_OBJECT

private slots:
    void controlCharactersAreEscaped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("logged");
        QTest::newRow("line feed") << "a\nb"
                                   << "a\\nb";
        QTest::newRow("carriage return") << "a\rb"
                                         << "a\\rb";
        QTest::newRow("tab") << "a\tb"
                             << "a\\tb";
        QTest::newRow("NUL") << QString(QChar(0)) << "\\x00";
        QTest::newRow("escape") << "\x1b[2J"
                                << "\\x1b[2J";
        QTest::newRow("DEL") << "\x7f"
                             << "\\x7f";
        QTest::newRow("C1 next line") << QString(QChar(0x85)) << "\\u0085";
        QTest::newRow("line separator") << QString(QChar(0x2028)) << "\\u2028";
        QTest::newRow("backslash") << "a\\nb"
                                   << "a\\\\nb";
        QTest::newRow("printable") << "/api/é?%1"
                                   << "/api/é?%1";
    }
    void controlCharactersAreEscaped() {
        QFETCH(QString, text);
        QFETCH(QString, logged);
        QCOMPARE(LogText::clean(text), logged);
    }

    void lengthIsCapped() {
        QCOMPARE(LogText::clean(QString(10, 'x'), 10), QString(10, 'x'));
        QCOMPARE(LogText::clean(QString(11, 'x'), 10), QString(10, 'x') + "…");
        // An escape is not cut in half.
        QCOMPARE(LogText::clean(QStringLiteral("123456789\n"), 10), "123456789…");
    }

    void aRequestPathCannotForgeALogLine() {
        TestServer server;
        QVERIFY(server.start());
        QLoggingCategory::setFilterRules("orbelo.server.http.info=true");
        logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keep);
        const QByteArray target =
            "/nowhere%251%E2%80%A8id=9%20method=GET%20path=/forged%20status=200%C2%85" + QByteArray(400, 'x');
        const RawExchange exchange =
            RawExchange::run(server.server().port(), QDir(server.dataDir()).filePath("server-cert.pem"),
                             {"GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"},
                             RawExchange::anyAnswer);
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules("orbelo.server.*.info=false");
        QVERIFY(exchange.received.startsWith("HTTP/1.1 404"));
        QCOMPARE(logged.size(), 1);
        const QString line = logged.first();
        QVERIFY2(!line.contains(QChar(0x2028)) && !line.contains(QChar(0x85)), qPrintable(line));
        QVERIFY2(line.contains("path=/nowhere%1\\u2028id=9 method=GET path=/forged status=200\\u0085xxx"),
                 qPrintable(line));
        QVERIFY2(line.contains("… status=404 bytes="), qPrintable(line));
        QVERIFY(line.size() < 450);
    }
};

QTEST_MAIN(RequestLogTest)
#include "RequestLogTest.moc"
