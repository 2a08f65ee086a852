#include "Http/ProxyHeader.h"

#include <QTest>

Q_DECLARE_METATYPE(ProxyHeader::Outcome)

// The PROXY line a trusted balancer sends first: each family, each way a line is refused, and the
// length limit on both sides.
class ProxyHeaderTest : public QObject {
    Q_OBJECT

private slots:
    void lines_data() {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<ProxyHeader::Outcome>("outcome");
        QTest::addColumn<QString>("source");
        using O = ProxyHeader::Outcome;
        QTest::newRow("tcp4") << QByteArray("PROXY TCP4 203.0.113.7 10.0.0.1 51000 8443\r\n") << O::Parsed
                              << "203.0.113.7";
        QTest::newRow("tcp6 spelled long")
            << QByteArray("PROXY TCP6 2001:DB8:0:0::7 ::1 1 65535\r\n") << O::Parsed << "2001:db8::7";
        QTest::newRow("unknown") << QByteArray("PROXY UNKNOWN\r\n") << O::Parsed << "";
        QTest::newRow("unknown with rest")
            << QByteArray("PROXY UNKNOWN ffff::1 ::1 1 2\r\n") << O::Parsed << "";
        QTest::newRow("partial") << QByteArray("PROXY TCP4 203.0.1") << O::Incomplete << "";
        QTest::newRow("partial prefix") << QByteArray("PRO") << O::Incomplete << "";
        QTest::newRow("tls instead") << QByteArray("\x16\x03\x01\x02\x00", 5) << O::Malformed << "";
        QTest::newRow("bad family") << QByteArray("PROXY UDP4 203.0.113.7 10.0.0.1 1 2\r\n") << O::Malformed
                                    << "";
        QTest::newRow("v6 under tcp4") << QByteArray("PROXY TCP4 ::1 ::1 1 2\r\n") << O::Malformed << "";
        QTest::newRow("short v4") << QByteArray("PROXY TCP4 127.1 10.0.0.1 1 2\r\n") << O::Malformed << "";
        QTest::newRow("zone") << QByteArray("PROXY TCP6 fe80::1%eth0 ::1 1 2\r\n") << O::Malformed << "";
        QTest::newRow("bad destination")
            << QByteArray("PROXY TCP4 1.2.3.4 1.2.3 1 2\r\n") << O::Malformed << "";
        QTest::newRow("port 65536") << QByteArray("PROXY TCP4 1.2.3.4 1.2.3.4 65536 2\r\n") << O::Malformed
                                    << "";
        QTest::newRow("port sign") << QByteArray("PROXY TCP4 1.2.3.4 1.2.3.4 1 +2\r\n") << O::Malformed << "";
        QTest::newRow("field missing")
            << QByteArray("PROXY TCP4 1.2.3.4 1.2.3.4 1\r\n") << O::Malformed << "";
        QTest::newRow("double space")
            << QByteArray("PROXY TCP4  1.2.3.4 1.2.3.4 1 2\r\n") << O::Malformed << "";
        QTest::newRow("bare lf") << QByteArray("PROXY TCP4 1.2.3.4 1.2.3.4 1 2\n") << O::Malformed << "";
        // The longest line: UNKNOWN padded to 107 bytes with its CRLF, then one byte more.
        const QByteArray longest = "PROXY UNKNOWN " + QByteArray(107 - 16, 'x') + "\r\n";
        QTest::newRow("107 bytes") << longest << O::Parsed << "";
        QTest::newRow("108 bytes") << QByteArray("PROXY UNKNOWN " + QByteArray(107 - 15, 'x') + "\r\n")
                                   << O::Malformed << "";
        QTest::newRow("107 without crlf") << longest.left(105) + "xx" << O::Malformed << "";
        QTest::newRow("106 without crlf") << longest.left(106) << O::Incomplete << "";
    }
    void lines() {
        QFETCH(QByteArray, received);
        QFETCH(ProxyHeader::Outcome, outcome);
        QFETCH(QString, source);
        const ProxyHeader header =
            ProxyHeader::parse(std::string_view(received.constData(), std::size_t(received.size())));
        QCOMPARE(header.outcome, outcome);
        QCOMPARE(QString::fromStdString(header.source), source);
        QCOMPARE(header.length, outcome == ProxyHeader::Outcome::Parsed ? std::size_t(received.size()) : 0u);
    }

    void bytesAfterTheLineAreLeftForTheConnection() {
        const std::string received = "PROXY TCP4 203.0.113.7 10.0.0.1 51000 8443\r\n\x16\x03\x01";
        const ProxyHeader header = ProxyHeader::parse(received);
        QCOMPARE(header.outcome, ProxyHeader::Outcome::Parsed);
        QCOMPARE(received.substr(header.length), std::string("\x16\x03\x01"));
    }
};

QTEST_GUILESS_MAIN(ProxyHeaderTest)
#include "ProxyHeaderTest.moc"
