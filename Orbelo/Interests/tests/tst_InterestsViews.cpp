#include "ViewTest.h"

// The Interests screens load without QML errors, and what a user reaches them by is there.
class InterestsViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // A name in two categories is one interest: its chips show the same state in both, and
    // pressing either asks for that one name.
    void interestChipsShareOneSelection() {
        std::unique_ptr<QQuickItem> view = load("InterestChipsView.qml");
        QVERIFY(view);
        QList<QQuickItem*> formula = itemsNamed(view.get(), "Formula 1");
        QCOMPARE(formula.size(), 2);
        QVERIFY(!formula[0]->property("selected").toBool());
        QVERIFY(formula[0]->property("checkable").toBool());

        QSignalSpy toggled(view.get(), SIGNAL(toggled(QString)));
        QMetaObject::invokeMethod(formula[1], "clicked");
        QCOMPARE(toggled.size(), 1);
        QCOMPARE(toggled[0][0].toString(), QStringLiteral("Formula 1"));

        view->setProperty("selectedNames", QStringList{"Formula 1", "Tokyo"});
        QVERIFY(formula[0]->property("selected").toBool());
        QVERIFY(formula[1]->property("selected").toBool());
        QVERIFY(formula[1]->property("checked").toBool());
        QVERIFY(itemsNamed(view.get(), "Tokyo")[0]->property("selected").toBool());
        QVERIFY(!itemsNamed(view.get(), "Paris")[0]->property("selected").toBool());
    }
};

QTEST_MAIN(InterestsViewsTest)
#include "tst_InterestsViews.moc"
