#include "MotionSettings.h"
#include "SymbolCatalog.h"
#include "SymbolImageProvider.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(DesignKitPlugin)

class DesignKitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every symbol the shell, sign-in and interest screens name resolves to a bundled file.
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
                                  "checkmark"};
        for (const QString& symbol : symbols) {
            const QString path = SymbolCatalog::iconPath(symbol);
            QVERIFY2(!path.isEmpty(), qPrintable(symbol));
            QVERIFY2(QFile::exists(path), qPrintable(path));
        }
        QVERIFY(SymbolCatalog::iconPath("no.such.symbol").isEmpty());
        QVERIFY(QFile::exists(SymbolCatalog::fallbackIconPath()));
        QVERIFY(QFile::exists(":/qt/qml/DesignKit/icons/LICENSE"));
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
};

QTEST_MAIN(DesignKitTest)
#include "tst_DesignKit.moc"
