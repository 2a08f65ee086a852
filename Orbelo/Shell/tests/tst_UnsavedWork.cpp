#include <QtTest>

#include "Shell/SignOutCommand.h"
#include "Shell/SignOutConfirmation.h"
#include "Shell/UnsavedWork.h"
#include "Shell/UnsavedWorkRegistry.h"

#include <memory>

// What screens report as unsaved, and the question a sign-out asks when there is some.
class UnsavedWorkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Blank descriptions count for nothing; the same work held twice is named once; work goes
    // when its holder does.
    void registryNamesWhatIsAtStake() {
        UnsavedWorkRegistry registry;
        QSignalSpy changed(&registry, &UnsavedWorkRegistry::changed);
        QObject quiz;
        QObject library;
        auto* test = new UnsavedWork(&quiz, registry);
        auto* upload = new UnsavedWork(&library, registry);
        QCOMPARE(registry.descriptions(), QStringList());

        upload->setDescription(QStringLiteral("the upload"));
        test->setDescription(QStringLiteral("  "));
        QCOMPARE(registry.descriptions(), QStringList{"the upload"});
        test->setDescription(QStringLiteral("the test"));
        QCOMPARE(registry.descriptions(), (QStringList{"the test", "the upload"}));
        const int changes = changed.size();
        test->setDescription(QStringLiteral("the test"));
        QCOMPARE(changed.size(), changes);

        {
            QObject sheet;
            (new UnsavedWork(&sheet, registry))->setDescription(QStringLiteral("the upload"));
            QCOMPARE(registry.descriptions(), (QStringList{"the test", "the upload"}));
        }
        delete test;
        QCOMPARE(registry.descriptions(), QStringList{"the upload"});
        upload->setDescription({});
        QCOMPARE(registry.descriptions(), QStringList());
    }

    void messageListsTheWork_data() {
        QTest::addColumn<QStringList>("work");
        QTest::addColumn<QString>("listed");
        QTest::newRow("one") << QStringList{"a"} << "a";
        QTest::newRow("two") << QStringList{"a", "b"} << "a and b";
        QTest::newRow("three") << QStringList{"a", "b", "c"} << "a, b and c";
    }
    void messageListsTheWork() {
        QFETCH(QStringList, work);
        QFETCH(QString, listed);
        QCOMPARE(SignOutConfirmation::message(work),
                 QStringLiteral("Signing out discards %1. Cancel to stay signed in and finish first.")
                     .arg(listed));
    }

    // Nothing unsaved: on at once, no question. Something unsaved: nothing happens until the
    // answer; Cancel drops the sign-out, a later request replaces an earlier one, and a sign-out
    // whose requester is gone is not made.
    void askingBeforeWorkIsLost() {
        UnsavedWorkRegistry registry;
        SignOutConfirmation confirmation(registry);
        QObject context;
        int first = 0;
        int second = 0;
        confirmation.ask(&context, [&] { ++first; });
        QCOMPARE(first, 1);
        QVERIFY(!confirmation.isAsking());

        QObject screen;
        auto* work = new UnsavedWork(&screen, registry);
        work->setDescription(QStringLiteral("the practice test you are taking"));
        confirmation.ask(&context, [&] { ++first; });
        QVERIFY(confirmation.isAsking());
        QVERIFY(confirmation.message().contains("the practice test you are taking"));
        QCOMPARE(first, 1);
        QObject library;
        auto* upload = new UnsavedWork(&library, registry);
        upload->setDescription(QStringLiteral("the upload"));
        QVERIFY(confirmation.message().contains("the practice test you are taking and the upload."));
        upload->setDescription({});
        QVERIFY(confirmation.message().contains("the practice test you are taking."));
        confirmation.cancel();
        QVERIFY(!confirmation.isAsking());
        confirmation.confirm();
        QCOMPARE(first, 1);

        confirmation.ask(&context, [&] { ++first; });
        confirmation.ask(&context, [&] { ++second; });
        confirmation.confirm();
        QCOMPARE(first, 1);
        QCOMPARE(second, 1);
        QVERIFY(!confirmation.isAsking());

        auto gone = std::make_unique<QObject>();
        confirmation.ask(gone.get(), [&] { ++second; });
        gone.reset();
        confirmation.confirm();
        QCOMPARE(second, 1);
        QVERIFY(!confirmation.isAsking());
    }

    // The menus' sign-out asks first when work is at stake, and signs out once confirmed.
    void signOutCommandWaitsForTheAnswer() {
        UnsavedWorkRegistry registry;
        SignOutConfirmation confirmation(registry);
        int signOuts = 0;
        SignOutCommand command(
            [&]() -> async::Task<void> {
                ++signOuts;
                co_return;
            },
            confirmation);
        QObject screen;
        (new UnsavedWork(&screen, registry))->setDescription(QStringLiteral("the upload"));
        command.run();
        QVERIFY(confirmation.isAsking());
        QTest::qWait(0);
        QCOMPARE(signOuts, 0);
        confirmation.confirm();
        QTRY_COMPARE(signOuts, 1);
    }
};

QTEST_GUILESS_MAIN(UnsavedWorkTest)
#include "tst_UnsavedWork.moc"
