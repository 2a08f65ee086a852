#include "ViewTest.h"

#include "Connectivity/NetworkMonitor.h"
#include "FakeNetworkStatus.h"
#include "InMemoryPreferences.h"
#include "Quiz/QuizModel.h"
#include "Shell/OnboardingGate.h"
#include "Shell/Refreshable.h"
#include "Shell/RefreshableRegistry.h"
#include "Shell/SignOutConfirmation.h"
#include "Shell/UnsavedWork.h"

#include <QPointer>
#include <QQmlAbstractUrlInterceptor>

namespace {

// The names of the QML files an engine loads, from whichever thread loads them.
class LoadedFiles : public QQmlAbstractUrlInterceptor {
public:
    QUrl intercept(const QUrl& url, DataType type) override {
        if (type == QmlFile) {
            const QMutexLocker lock(&mutex_);
            names_ << url.fileName();
        }
        return url;
    }
    bool contains(const QString& name) {
        const QMutexLocker lock(&mutex_);
        return names_.contains(name);
    }

private:
    QMutex mutex_;
    QStringList names_;
};

} // namespace

// The Shell screens load without QML errors, and what a user reaches them by is there.
class ShellViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The shell shows the sidebar's eight sections and the offline banner only while offline.
    void shellAndOfflineBanner() {
        auto* status = new FakeNetworkStatus;
        NetworkMonitor monitor{std::unique_ptr<NetworkStatus>(status)};
        std::unique_ptr<QQuickItem> shell =
            load("RootShell.qml", {{"networkMonitor", QVariant::fromValue(&monitor)}});
        QVERIFY(shell);
        for (const char* label :
             {"Study", "For You", "Cards", "Quiz", "Library", "Rewards", "Notifications", "Settings"})
            QVERIFY2(!itemsNamed(shell.get(), label).isEmpty(), label);
        QVERIFY(!shell->property("offline").toBool());
        auto* banner = shell->findChild<QQuickItem*>("offlineBanner");
        QVERIFY(banner);
        QVERIFY(!banner->isVisible());
        status->report(false);
        QVERIFY(shell->property("offline").toBool());
        QTRY_VERIFY(banner->isVisible());
        QTRY_COMPARE(banner->opacity(), 1.0);
        status->report(true);
        QTRY_VERIFY(!banner->isVisible());
    }

    // A finished onboarding that asks for the Library gets it once; the request is then cleared.
    void shellFollowsTheLibraryRequest() {
        InMemoryPreferences preferences;
        OnboardingGate gate(OnboardingGate::ProfileFetch{}, preferences);
        gate.complete(true);
        std::unique_ptr<QQuickItem> shell =
            load("RootShell.qml", {{"onboarding", QVariant::fromValue<QObject*>(&gate)}});
        QVERIFY(shell);
        QCOMPARE(itemsNamed(shell.get(), "Library").size(), 2); // in the sidebar and as the heading
        QCOMPARE(itemsNamed(shell.get(), "Study").size(), 1);
        QVERIFY(!gate.pendingOnboardingLibraryDeepLink());
    }

    // A section is created on its first visit and kept, hidden, while others show: its screen and
    // what was typed in it are there on return, with the keyboard focus back inside it. Refresh
    // goes to the shown section, never the hidden one.
    void sectionsAreKept() {
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QQuickItem> shell = load("RootShell.qml");
        QVERIFY(shell);
        shell->setParentItem(window.contentItem());
        shell->setSize(QSizeF(1200, 800));
        const auto quizScreen = [&]() -> QQuickItem* {
            for (QQuickItem* item : shell->findChildren<QQuickItem*>())
                if (item->property("quizModel").isValid())
                    return item;
            return nullptr;
        };
        QVERIFY(!quizScreen());
        Q_EMIT context->sectionRequested(4);
        QTRY_VERIFY(quizScreen());
        QPointer<QQuickItem> quiz = quizScreen();
        auto* model = qvariant_cast<QuizModel*>(quiz->property("quizModel"));
        model->setup()->setTopic(QStringLiteral("Cells"));
        QTRY_VERIFY(quiz->isAncestorOf(window.activeFocusItem()));

        Q_EMIT context->sectionRequested(5);
        QVERIFY(quiz);
        QVERIFY(!quiz->isVisible());
        QVERIFY(!quiz->isAncestorOf(window.activeFocusItem()));
        Refreshable* hidden = Refreshable::of(quiz);
        QVERIFY(hidden);
        QTRY_VERIFY(RefreshableRegistry::shared().lastShown());
        QVERIFY(RefreshableRegistry::shared().lastShown() != hidden);

        Q_EMIT context->sectionRequested(4);
        QCOMPARE(quizScreen(), quiz.data());
        QVERIFY(quiz->isVisible());
        QCOMPARE(model->setup()->topic(), QStringLiteral("Cells"));
        QCOMPARE(RefreshableRegistry::shared().lastShown(), hidden);
        QTRY_VERIFY(quiz->isAncestorOf(window.activeFocusItem()));
    }

    // A sign-out with work at stake brings up the shell's question; "Cancel" keeps the user signed
    // in, "Sign Out" goes on.
    void signOutAsksInTheShell() {
        QQuickWindow window; // the question opens in the window's overlay
        window.resize(1200, 800);
        std::unique_ptr<QQuickItem> shell = load("RootShell.qml");
        QVERIFY(shell);
        shell->setParentItem(window.contentItem());
        QObject screen;
        (new UnsavedWork(&screen))->setDescription(QStringLiteral("the upload of “a.pdf”"));
        int signOuts = 0;
        SignOutConfirmation::shared().ask(&screen, [&] { ++signOuts; });
        QTRY_VERIFY(!itemsNamed(window.contentItem(), "Sign out and lose your work?").isEmpty());
        QCOMPARE(itemsNamed(window.contentItem(), "Signing out discards the upload of “a.pdf”. Cancel to "
                                                  "stay signed in and finish first.")
                     .size(),
                 1);
        press(window.contentItem(), "Cancel");
        QVERIFY(!SignOutConfirmation::shared().isAsking());
        QCOMPARE(signOuts, 0);

        SignOutConfirmation::shared().ask(&screen, [&] { ++signOuts; });
        QTRY_COMPARE(itemsNamed(window.contentItem(), "Sign Out").size(), 1);
        press(window.contentItem(), "Sign Out");
        QCOMPARE(signOuts, 1);
        QTRY_VERIFY(itemsNamed(window.contentItem(), "Sign out and lose your work?").isEmpty());
    }

    void loadingAndSplash() {
        QVERIFY(load("LoadingView.qml"));
        QVERIFY(load("SplashView.qml"));
    }

    // Until the app has launched the window holds the splash and the menu bar's strip, at the
    // bar's height; then the content (the loading screen here) comes in, and the menus after it.
    void windowBeforeAndAfterLaunch() {
        NetworkMonitor monitor{std::make_unique<FakeNetworkStatus>()}; // outlives the window
        QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/Main.qml")));
        QVERIFY2(!component.isError(), qPrintable(component.errorString()));
        // Not shown: what is in the scene is the question here, not what a frame of it looks like.
        std::unique_ptr<QQuickWindow> window(
            qobject_cast<QQuickWindow*>(component.createWithInitialProperties({{"visible", false}})));
        QVERIFY(window);
        QQuickItem* root = window->contentItem();
        auto* menus = window->property("menuBar").value<QQuickItem*>();
        QVERIFY(menus);
        QCOMPARE(menus->height(), 32.0);
        auto* content = window->findChild<QQuickItem*>("content");
        QVERIFY(content);
        QVERIFY(!itemsNamed(root, "Orbelo").isEmpty()); // the splash
        QVERIFY(!menus->property("active").toBool());
        QVERIFY(!content->property("active").toBool());

        window->setProperty("networkMonitor", QVariant::fromValue<QObject*>(&monitor));
        QVERIFY(content->property("active").toBool());
        // The menus wait for the content's first screen, which loads asynchronously.
        QVERIFY(!menus->property("active").toBool());
        QTRY_COMPARE(itemsNamed(root, "Loading…").size(), 1);
        QVERIFY(menus->property("active").toBool());
        for (const char* menu : {"View", "Go", "Help"})
            QVERIFY2(itemsNamed(root, menu).size() == 1, menu);
        QCOMPARE(menus->height(), 32.0);
        QVERIFY(!window->property("signedIn").toBool());
    }

    // Up to the loading and sign-in screens the window compiles none of the signed-in screens;
    // they load by address once someone has signed in.
    void signedOutWindowLoadsNoShellScreen() {
        LoadedFiles files;
        engine->addUrlInterceptor(&files);
        NetworkMonitor monitor{std::make_unique<FakeNetworkStatus>()};
        QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/Main.qml")));
        QVERIFY2(!component.isError(), qPrintable(component.errorString()));
        std::unique_ptr<QQuickWindow> window(
            qobject_cast<QQuickWindow*>(component.createWithInitialProperties({{"visible", false}})));
        QVERIFY(window);
        window->setProperty("networkMonitor", QVariant::fromValue<QObject*>(&monitor));
        QTRY_COMPARE(itemsNamed(window->contentItem(), "Loading…").size(), 1);
        for (const char* file : {"ContentView.qml", "LoadingView.qml", "SignInView.qml"})
            QVERIFY2(files.contains(file), file);
        for (const char* file : {"SignedInView.qml", "RootShell.qml", "StudyScreen.qml", "LibraryScreen.qml",
                                 "OnboardingView.qml", "InterestEditorSheet.qml"})
            QVERIFY2(!files.contains(file), file);

        InMemoryPreferences preferences;
        OnboardingGate gate(OnboardingGate::ProfileFetch{}, preferences);
        QVERIFY(load("SignedInView.qml", {{"onboarding", QVariant::fromValue<QObject*>(&gate)}}));
        for (const char* file : {"SignedInView.qml", "RootShell.qml", "StudyScreen.qml"})
            QVERIFY2(files.contains(file), file);
        window.reset();
        engine->removeUrlInterceptor(&files);
    }

    // The signed-in view: the onboarding questions cover the shell until they are answered.
    void signedInViewCoversTheShellWithOnboarding() {
        InMemoryPreferences preferences;
        OnboardingGate gate(OnboardingGate::ProfileFetch{}, preferences);
        std::unique_ptr<QQuickItem> view =
            load("SignedInView.qml", {{"onboarding", QVariant::fromValue<QObject*>(&gate)}});
        QVERIFY(view);
        QVERIFY(!itemsNamed(view.get(), "Cards").isEmpty());
        QVERIFY(itemsNamed(view.get(), "What are you into?").isEmpty());

        gate.resolve(); // no profile to read: the questions come
        QTRY_VERIFY(gate.showOnboarding());
        QTRY_VERIFY(!itemsNamed(view.get(), "What are you into?").isEmpty());
        QVERIFY(itemsNamed(view.get(), "Cards").isEmpty());

        gate.complete(false);
        QTRY_VERIFY(itemsNamed(view.get(), "What are you into?").isEmpty());
        QVERIFY(!itemsNamed(view.get(), "Cards").isEmpty());
    }
};

QTEST_MAIN(ShellViewsTest)
#include "tst_ShellViews.moc"
