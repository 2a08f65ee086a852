#include "ViewTest.h"

#include "Focus/AppFocusTimer.h"
#include "ScriptedClient.h"
#include "SymbolImageProvider.h"

#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(DesignKitPlugin)
Q_IMPORT_QML_PLUGIN(OrbeloModelsPlugin)
Q_IMPORT_QML_PLUGIN(OrbeloViewsPlugin)

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

void ViewTest::initTestCase() {
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    appTimer = std::make_unique<PomodoroTimer>(scriptedClient(QUrl("https://127.0.0.1:9")),
                                               appTimerPreferences, appTimerNotifications, QTimeZone::utc());
    AppFocusTimer::shared().setTimer(appTimer.get());
    readAloud = std::make_unique<ReadAloudPlayer>(appTimerPreferences, QStringList());
    ReadAloudPlayer::exposeToQml(readAloud.get());
    Appearance::exposeToQml(&appearance);
}

void ViewTest::cleanupTestCase() {
    AppFocusTimer::shared().setTimer(nullptr);
}

void ViewTest::init() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*qml.*")));
    engine = std::make_unique<QQmlEngine>();
    engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    context = std::make_unique<AppContext>(QUrl(), APIClient::TokenProvider());
    context->provideTo(*engine);
}

void ViewTest::cleanup() {
    engine.reset();
    context.reset();
}

void ViewTest::press(QQuickItem* root, const QString& name) {
    const QList<QQuickItem*> found = itemsNamed(root, name);
    QVERIFY2(found.size() == 1, qPrintable(name));
    QVERIFY(QMetaObject::invokeMethod(found.at(0), "clicked"));
}

std::unique_ptr<QObject> ViewTest::openSheet(QQuickWindow& window, const QString& file) {
    QQmlComponent component(engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/") + file));
    if (component.isError()) {
        qWarning().noquote() << component.errorString();
        return {};
    }
    std::unique_ptr<QObject> sheet(
        component.createWithInitialProperties({{"parent", QVariant::fromValue(window.contentItem())}}));
    if (sheet)
        QMetaObject::invokeMethod(sheet.get(), "open");
    return sheet;
}

std::unique_ptr<QQuickItem> ViewTest::load(const QString& file, const QVariantMap& properties) {
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
