#include <QtTest>

#include "FakeNetworkPathMonitor.h"
#include "NetworkMonitor.h"
#include "SymbolImageProvider.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(DesignKitPlugin)
Q_IMPORT_QML_PLUGIN(OrbeloModelsPlugin)
Q_IMPORT_QML_PLUGIN(OrbeloViewsPlugin)

namespace {

// Every visible item whose accessible name is `name`.
QList<QQuickItem*> itemsNamed(QQuickItem* root, const QString& name) {
    QList<QQuickItem*> found;
    QList<QQuickItem*> pending{root};
    while (!pending.isEmpty()) {
        QQuickItem* item = pending.takeFirst();
        if (item->isVisible()) {
            for (QObject* child : item->children())
                if (QString::fromLatin1(child->metaObject()->className())
                        .startsWith("QQuickAccessibleAttached") &&
                    child->property("name").toString() == name)
                    found << item;
            pending << item->childItems();
        }
    }
    return found;
}

} // namespace

// The screens load without QML errors, and what a user reaches them by is there.
class AppViewsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QQuickStyle::setStyle(QStringLiteral("Basic")); }

    void init() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*qml.*")));
        engine = std::make_unique<QQmlEngine>();
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    }
    void cleanup() { engine.reset(); }

    void signInScreen() {
        std::unique_ptr<QQuickItem> view = load("SignInView.qml");
        QVERIFY(view);
        QCOMPARE(itemsNamed(view.get(), "Email").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Password").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Sign in").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Create an account").size(), 1);
    }

    // The shell shows the sidebar's eight sections and the offline banner only while offline.
    void shellAndOfflineBanner() {
        auto* path = new FakeNetworkPathMonitor;
        NetworkMonitor monitor{std::unique_ptr<NetworkPathMonitor>(path)};
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
        path->report(false);
        QVERIFY(shell->property("offline").toBool());
        QTRY_VERIFY(banner->isVisible());
        QTRY_COMPARE(banner->opacity(), 1.0);
        path->report(true);
        QTRY_VERIFY(!banner->isVisible());
    }

    void loadingAndSplash() {
        QVERIFY(load("LoadingView.qml"));
        QVERIFY(load("SplashView.qml"));
    }

private:
    std::unique_ptr<QQuickItem> load(const QString& file, const QVariantMap& properties = {}) {
        QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/") + file));
        if (component.isError()) { // Qt 6.4 crashes creating a component in error
            qWarning().noquote() << component.errorString();
            return {};
        }
        std::unique_ptr<QObject> object(component.createWithInitialProperties(properties));
        if (!object)
            qWarning().noquote() << component.errorString();
        auto* item = qobject_cast<QQuickItem*>(object.get());
        if (item) {
            item->setSize(QSizeF(1200, 800));
            object.release();
        }
        return std::unique_ptr<QQuickItem>(item);
    }

    std::unique_ptr<QQmlEngine> engine;
};

QTEST_MAIN(AppViewsTest)
#include "tst_AppViews.moc"
