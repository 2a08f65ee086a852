#include "Appearance.h"
#include "MotionSettings.h"
#include "SymbolCatalog.h"
#include "SymbolImageProvider.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSvgRenderer>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(DesignKitPlugin)

class DesignKitTest : public QObject {
    Q_OBJECT
    Appearance appearance{nullptr}; // Theme's colours come from it
private Q_SLOTS:
    void initTestCase() { Appearance::exposeToQml(&appearance); }

    // Every symbol the screens name (shell, sign-in, interests, library, study aids, audio controls)
    // resolves to a bundled file.
    void everyShellSymbolHasAnIcon() {
        const QStringList symbols{"book.pages",
                                  "sparkles",
                                  "rectangle.on.rectangle",
                                  "checkmark.bubble",
                                  "books.vertical",
                                  "gift.fill",
                                  "bell",
                                  "gearshape",
                                  "bell.badge",
                                  "wifi.slash",
                                  "graduationcap.fill",
                                  "exclamationmark.circle",
                                  "rectangle.portrait.and.arrow.right",
                                  "tv",
                                  "film",
                                  "sparkles.tv",
                                  "wand.and.stars",
                                  "music.mic",
                                  "globe.americas",
                                  "sportscourt",
                                  "paintpalette",
                                  "checkmark",
                                  "character.book.closed",
                                  "play.circle.fill",
                                  "pause.circle.fill",
                                  "stop.fill",
                                  "speaker.wave.3",
                                  "trash",
                                  "magnifyingglass",
                                  "line.3.horizontal.decrease.circle",
                                  "lightbulb",
                                  "doc.text"};
        for (const QString& symbol : symbols) {
            const QString path = SymbolCatalog::iconPath(symbol);
            QVERIFY2(!path.isEmpty(), qPrintable(symbol));
            QVERIFY2(QFile::exists(path), qPrintable(path));
        }
        QVERIFY(SymbolCatalog::iconPath("no.such.symbol").isEmpty());
        QVERIFY(QFile::exists(SymbolCatalog::fallbackIconPath()));
        QVERIFY(QFile::exists(":/qt/qml/DesignKit/icons/LICENSE"));
    }

    // Every mapped name points at an icon that parses, and every bundled icon is reachable by a name.
    void everyMappedSymbolLoadsAndNoIconIsOrphaned() {
        QSet<QString> used;
        for (const QString& symbol : SymbolCatalog::symbols()) {
            const QString path = SymbolCatalog::iconPath(symbol);
            QSvgRenderer renderer(path);
            QVERIFY2(renderer.isValid(), qPrintable(symbol + " -> " + path));
            used.insert(QFileInfo(path).fileName());
        }
        const QStringList bundled = QDir(":/qt/qml/DesignKit/icons").entryList({"*.svg"}, QDir::Files);
        QVERIFY(bundled.size() > 40);
        for (const QString& file : bundled)
            QVERIFY2(used.contains(file), qPrintable(file + " is bundled but no symbol uses it"));
    }

    // Icons are drawn in the colour asked for, at the size asked for; unknown names still draw.
    void iconsAreTintedAndSized() {
        const QImage red = SymbolImageProvider::render("bell?color=%23ff0000", QSize(48, 48));
        QCOMPARE(red.size(), QSize(48, 48));
        int painted = 0;
        for (int y = 0; y < red.height(); ++y)
            for (int x = 0; x < red.width(); ++x) {
                const QColor c = red.pixelColor(x, y);
                if (c.alpha() == 255) {
                    ++painted;
                    QCOMPARE(c.red(), 255);
                    QCOMPARE(c.green(), 0);
                }
            }
        QVERIFY(painted > 20);

        const QImage unknown = SymbolImageProvider::render("no.such.symbol", QSize(24, 24));
        QCOMPARE(unknown.size(), QSize(24, 24));
        QVERIFY(unknown != QImage(QSize(24, 24), QImage::Format_ARGB32_Premultiplied));
    }

    void reduceMotionFollowsTheEnvironmentThenGtk() {
        QVERIFY(MotionSettings::reduceMotionFrom("1", {}));
        QVERIFY(MotionSettings::reduceMotionFrom("true", "[Settings]\ngtk-enable-animations=true\n"));
        QVERIFY(!MotionSettings::reduceMotionFrom("0", "[Settings]\ngtk-enable-animations=false\n"));
        QVERIFY(MotionSettings::reduceMotionFrom(
            {}, "[Settings]\ngtk-theme-name=Adwaita\ngtk-enable-animations = 0\n"));
        QVERIFY(!MotionSettings::reduceMotionFrom({}, "[Settings]\ngtk-enable-animations=true\n"));
        QVERIFY(!MotionSettings::reduceMotionFrom({}, {}));
    }

    // The components load and the theme's motion follows the reduce-motion switch.
    void componentsLoadAndMotionFollowsTheSwitch() {
        QQmlEngine engine;
        engine.addImportPath("qrc:/qt/qml");
        engine.addImageProvider("symbol", new SymbolImageProvider);
        QQmlComponent component(&engine);
        component.setData(
            "import QtQuick\nimport DesignKit\nItem {\n"
            "  property int fade: Theme.motion.fade\n"
            "  PrimaryButton { text: \"Go\" }\n  SecondaryButton { text: \"Back\"; plain: true }\n"
            "  FormField { label: \"Email\" }\n  EmptyStateView { title: \"Nothing\" }\n"
            "  InlineErrorView { message: \"Oops\" }\n  BrandMark {}\n"
            "  FlowLayout { objectName: \"flow\"; width: 200\n"
            "    Chip { text: \"Basketball\"; selected: true }\n    Chip { text: \"Golf\" }\n"
            "    Chip { text: \"Track & Field\" }\n  }\n}\n",
            QUrl("qrc:/test.qml"));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));

        // Chips run left to right and wrap when the next one would not fit the width.
        auto* flow = root->findChild<QQuickItem*>("flow");
        QVERIFY(flow);
        QMetaObject::invokeMethod(flow, "forceLayout");
        const QList<QQuickItem*> chips = flow->childItems();
        QCOMPARE(chips.size(), 3);
        QCOMPARE(chips[0]->position(), QPointF(0, 0));
        QCOMPARE(chips[1]->y(), 0);
        QVERIFY(chips[1]->x() >= chips[0]->width());
        QVERIFY(chips[1]->x() + chips[1]->width() <= 200);
        QCOMPARE(chips[2]->x(), 0);
        QVERIFY(chips[2]->y() >= chips[0]->height());
        QVERIFY(flow->implicitHeight() >= chips[2]->y() + chips[2]->height());
        auto* motion =
            engine.singletonInstance<MotionSettings*>(qmlTypeId("DesignKit", 1, 0, "MotionSettings"));
        QVERIFY(motion);
        motion->setReduceMotion(false);
        QCOMPARE(root->property("fade").toInt(), 450);
        motion->setReduceMotion(true);
        QCOMPARE(root->property("fade").toInt(), 0);
    }

    // The skeleton pulses only while motion is allowed and reads as one loading element; confetti
    // leaves no pieces behind when its burst ends, and with reduced motion never makes any.
    void skeletonAndConfettiHonourReduceMotion() {
        QQmlEngine engine;
        engine.addImportPath("qrc:/qt/qml");
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport DesignKit\nItem {\n"
                          "  width: 400; height: 300\n"
                          "  property alias skeleton: skeleton\n  property alias confetti: confetti\n"
                          "  readonly property int skeletonRole: skeleton.Accessible.role\n"
                          "  SkeletonRows { id: skeleton; width: 300; rows: 4 }\n"
                          "  ConfettiView { id: confetti; anchors.fill: parent; pieceCount: 24 }\n}\n",
                          QUrl("qrc:/effects.qml"));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto* skeleton = root->property("skeleton").value<QQuickItem*>();
        auto* confetti = root->property("confetti").value<QQuickItem*>();
        QVERIFY(skeleton && confetti);
        // Looked up once the component has loaded the module that registers it.
        auto* motion =
            engine.singletonInstance<MotionSettings*>(qmlTypeId("DesignKit", 1, 0, "MotionSettings"));
        QVERIFY(motion);
        motion->setReduceMotion(false);

        QCOMPARE(root->property("skeletonRole").toInt(), int(QAccessible::ProgressBar));
        QCOMPARE(skeleton->property("accessibleName").toString(), QStringLiteral("Loading"));
        QVERIFY(skeleton->property("animating").toBool());
        motion->setReduceMotion(true);
        QVERIFY(!skeleton->property("animating").toBool());
        QCOMPARE(skeleton->childItems().first()->opacity(), 1.0);

        const auto pieces = [confetti] {
            const QList<QQuickItem*> items = confetti->childItems();
            return std::count_if(items.cbegin(), items.cend(),
                                 [](const QQuickItem* item) { return item->inherits("QQuickRectangle"); });
        };
        QMetaObject::invokeMethod(confetti, "fire");
        QCOMPARE(pieces(), 0);
        QVERIFY(!confetti->property("active").toBool());

        motion->setReduceMotion(false);
        QMetaObject::invokeMethod(confetti, "fire");
        QCOMPARE(pieces(), 24);
        QVERIFY(confetti->property("active").toBool());
        // Firing again restarts the burst rather than piling up pieces.
        QMetaObject::invokeMethod(confetti, "fire");
        QCOMPARE(pieces(), 24);

        // Run the burst to its end without waiting for it.
        const QObjectList children = confetti->children();
        const auto fall = std::find_if(children.cbegin(), children.cend(), [](const QObject* child) {
            return child->inherits("QQuickNumberAnimation");
        });
        QVERIFY(fall != children.cend());
        QMetaObject::invokeMethod(*fall, "complete");
        QVERIFY(!confetti->property("active").toBool());
        QCOMPARE(pieces(), 0);

        // Switching reduce motion on mid-burst clears it at once.
        QMetaObject::invokeMethod(confetti, "fire");
        QCOMPARE(pieces(), 24);
        motion->setReduceMotion(true);
        QCOMPARE(pieces(), 0);
    }

    // A menu's rows answer the accessibility "Press" action as a click would, Action rows
    // included, and close the menu; a disabled row does nothing.
    void menuRowsAnswerThePressAction() {
        QQmlEngine engine;
        engine.addImportPath("qrc:/qt/qml");
        engine.addImageProvider("symbol", new SymbolImageProvider);
        QQmlComponent component(&engine);
        component.setData(
            "import QtQuick\nimport QtQuick.Controls\nimport DesignKit\n"
            "Window {\n  visible: true; width: 400; height: 400\n"
            "  property alias menu: menu\n"
            "  PopupMenu {\n    id: menu\n    property int clicks: 0\n    property int actions: 0\n"
            "    PopupMenuItem { text: \"Plain\"; symbol: \"bell\"; onTriggered: menu.clicks++ }\n"
            "    Action { text: \"Act\"; onTriggered: menu.actions++ }\n"
            "    PopupMenuSeparator {}\n"
            "    PopupMenuItem { text: \"Off\"; enabled: false; onTriggered: menu.clicks += 100 }\n"
            "  }\n}\n",
            QUrl("qrc:/menu-test.qml"));
        std::unique_ptr<QObject> window(component.create());
        QVERIFY2(window, qPrintable(component.errorString()));
        // Menus open and close at once with reduced motion.
        auto* motion =
            engine.singletonInstance<MotionSettings*>(qmlTypeId("DesignKit", 1, 0, "MotionSettings"));
        QVERIFY(motion);
        motion->setReduceMotion(true);
        auto* menu = window->property("menu").value<QObject*>();
        QVERIFY(menu);

        const auto pressRow = [&](int index) {
            QQuickItem* row = nullptr;
            QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem*, row), Q_ARG(int, index));
            QVERIFY(row);
            // Rows made from Actions get the same look and handling.
            QVERIFY(row->metaObject()->indexOfProperty("shortcutText") >= 0);
            QObject* accessible = nullptr;
            for (QObject* child : row->children())
                if (QByteArray(child->metaObject()->className()).startsWith("QQuickAccessibleAttached"))
                    accessible = child;
            QVERIFY(accessible);
            QVERIFY(QMetaObject::invokeMethod(accessible, "pressAction"));
        };

        for (const int row : {0, 1}) {
            QMetaObject::invokeMethod(menu, "open");
            QTRY_VERIFY(menu->property("opened").toBool());
            pressRow(row);
            QTRY_VERIFY(!menu->property("visible").toBool());
        }
        QCOMPARE(menu->property("clicks").toInt(), 1);
        QCOMPARE(menu->property("actions").toInt(), 1);

        QMetaObject::invokeMethod(menu, "open");
        QTRY_VERIFY(menu->property("opened").toBool());
        pressRow(3);
        QVERIFY(menu->property("visible").toBool());
        QCOMPARE(menu->property("clicks").toInt(), 1);
    }
};

QTEST_MAIN(DesignKitTest)
#include "tst_DesignKit.moc"
