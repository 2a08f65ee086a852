// Two instances of the app in one test process: the second hands its URL, or a request to come
// to the front, to the first; a socket left by a crashed instance does not block start-up.
// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "SingleInstance.h"
#include "VirtualClock.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class SingleInstanceTest : public QObject {
    Q_OBJECT

    // The hand-over's timeout never fires here: a missing answer would stall the test instead.
    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<QTemporaryDir> dir;

    QString name() const { return dir->filePath(QStringLiteral("com.orbelo.desktop.instance")); }

private Q_SLOTS:
    void init() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        dir.reset();
        useClock.reset();
    }

    void aSecondInstanceHandsItsURLToTheFirst() {
        SingleInstance first(name());
        QCOMPARE(first.claim(QUrl()), SingleInstance::Role::primary);
        QVERIFY(first.isListening());
        QSignalSpy urls(&first, &SingleInstance::urlReceived);
        QSignalSpy activations(&first, &SingleInstance::activationRequested);

        const QUrl callback(QStringLiteral("com.orbelo.desktop://callback?rotating_token_nonce=a%20b%26c"));
        SingleInstance second(name());
        QCOMPARE(second.claim(callback), SingleInstance::Role::handedOver);
        QVERIFY(!second.isListening());
        QTRY_COMPARE(urls.size(), 1);
        QCOMPARE(urls.first().first().toUrl(), callback);
        QCOMPARE(activations.size(), 0);

        SingleInstance third(name());
        QCOMPARE(third.claim(QUrl()), SingleInstance::Role::handedOver);
        QTRY_COMPARE(activations.size(), 1);
        QCOMPARE(urls.size(), 1);
    }

    // A notification's deep link arrives as such, even one that looks like a callback URL or
    // holds characters of the hand-over's own syntax, and never as a URL.
    void aSecondInstanceHandsItsDeepLinkToTheFirst() {
        SingleInstance first(name());
        QCOMPARE(first.claim(QUrl()), SingleInstance::Role::primary);
        QSignalSpy links(&first, &SingleInstance::deepLinkReceived);
        QSignalSpy urls(&first, &SingleInstance::urlReceived);
        QSignalSpy activations(&first, &SingleInstance::activationRequested);

        const QStringList sent{QStringLiteral("quiz-auto-start"),
                               QStringLiteral("com.orbelo.desktop://callback?x=1"),
                               QStringLiteral("two words\nopen activate % ü")};
        for (const QString& link : sent) {
            SingleInstance next(name());
            QCOMPARE(next.claimForDeepLink(link), SingleInstance::Role::handedOver);
        }
        QTRY_COMPARE(links.size(), sent.size());
        for (int i = 0; i < sent.size(); ++i)
            QCOMPARE(links.at(i).first().toString(), sent.at(i));
        QCOMPARE(urls.size(), 0);

        // No link at all just brings the running one to the front.
        SingleInstance empty(name());
        QCOMPARE(empty.claimForDeepLink(QString()), SingleInstance::Role::handedOver);
        QTRY_COMPARE(activations.size(), 1);
        QCOMPARE(links.size(), sent.size());
    }

    // A crashed instance leaves its socket file with nobody listening: the next start takes over.
    void aStaleSocketDoesNotBlockStartUp() {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(name());
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(QFile::exists(name()));

        SingleInstance restarted(name());
        QCOMPARE(restarted.claim(QUrl(QStringLiteral("com.orbelo.desktop://callback"))),
                 SingleInstance::Role::primary);
        QVERIFY(restarted.isListening());
        QSignalSpy activations(&restarted, &SingleInstance::activationRequested);
        SingleInstance next(name());
        QCOMPARE(next.claim(QUrl()), SingleInstance::Role::handedOver);
        QTRY_COMPARE(activations.size(), 1);
    }

    // After the running instance quits, the next start runs on its own.
    void theNameIsFreeAgainAfterQuitting() {
        {
            SingleInstance first(name());
            QCOMPARE(first.claim(QUrl()), SingleInstance::Role::primary);
        }
        SingleInstance again(name());
        QCOMPARE(again.claim(QUrl()), SingleInstance::Role::primary);
        QVERIFY(again.isListening());
    }

    void theSocketIsPerUser() {
        const QString name = SingleInstance::socketName(QStringLiteral("com.orbelo.desktop"));
        QVERIFY(name.contains(QStringLiteral("com.orbelo.desktop")));
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            QVERIFY(name.contains(QString::number(::getuid())));
        else
            QVERIFY(name.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_SingleInstance.moc"
