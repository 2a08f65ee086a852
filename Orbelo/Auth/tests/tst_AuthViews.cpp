#include "ViewTest.h"

// The Auth screens load without QML errors, and what a user reaches them by is there.
class AuthViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    void signInScreen() {
        std::unique_ptr<QQuickItem> view = load("SignInView.qml");
        QVERIFY(view);
        QCOMPARE(itemsNamed(view.get(), "Email").size(), 1);
        // The password field and its caption, which screen readers get as the field's label.
        QCOMPARE(itemsNamed(view.get(), "Password").size(), 2);
        QCOMPARE(itemsNamed(view.get(), "Sign in").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Create an account").size(), 1);
    }
};

QTEST_MAIN(AuthViewsTest)
#include "tst_AuthViews.moc"
