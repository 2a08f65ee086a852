#include "Appearance.h"
#include "ThemePalette.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

#include <cmath>

Q_IMPORT_QML_PLUGIN(DesignKitPlugin)

namespace {

// WCAG 2 relative luminance and contrast ratio.
double luminance(const QColor& color) {
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString describe(const QString& palette, const QString& text, const QString& ground, double ratio) {
    return QStringLiteral("%1: %2 on %3 is %4:1").arg(palette, text, ground, QString::number(ratio, 'f', 2));
}

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT
    Appearance appearance{nullptr};
private Q_SLOTS:
    void initTestCase() { Appearance::exposeToQml(&appearance); }

    void init() {
        appearance.setChoice(Appearance::system);
        appearance.setNightOwlOwned(false);
        appearance.setHighContrast(false);
        appearance.setSystemDark(false);
    }

    void contrastRatioOfKnownPairs() {
        QCOMPARE(qRound(contrast(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(contrast(QColor("#0B1A30"), QColor("#0B1A30")), 1.0);
        // #767676 is the lightest grey that passes 4.5:1 on white.
        QVERIFY(contrast(QColor("#767676"), Qt::white) >= 4.5);
        QVERIFY(contrast(QColor("#777777"), Qt::white) < 4.5);
    }

    // Body text reads on every ground of every palette.
    void bodyTextReadsOnEveryGround() {
        for (const QString& name : ThemePalette::names()) {
            const QVariantMap palette = ThemePalette::named(name).toMap();
            for (const char* text : {"textPrimary", "textSecondary"})
                for (const char* ground : {"background", "surface", "sidebar", "raised"}) {
                    const double ratio =
                        contrast(palette.value(text).value<QColor>(), palette.value(ground).value<QColor>());
                    QVERIFY2(ratio >= 4.5, qPrintable(describe(name, text, ground, ratio)));
                }
        }
    }

    // Night Owl and the high-contrast palettes hold every coloured text to 4.5:1, labels on the
    // accent and on the soft notices included; high contrast holds body text to 7:1.
    void everyTextRoleReadsInNightOwlAndHighContrast() {
        for (const QString& name : {QStringLiteral("nightOwl"), QStringLiteral("highContrastLight"),
                                    QStringLiteral("highContrastDark")}) {
            const QVariantMap palette = ThemePalette::named(name).toMap();
            const auto ratio = [&](const char* text, const char* ground) {
                return contrast(palette.value(text).value<QColor>(), palette.value(ground).value<QColor>());
            };
            for (const char* text :
                 {"textPrimary", "textSecondary", "textTertiary", "accent", "danger", "warning", "success"})
                for (const char* ground : {"background", "surface", "sidebar", "raised", "accentSoft"})
                    QVERIFY2(ratio(text, ground) >= 4.5,
                             qPrintable(describe(name, text, ground, ratio(text, ground))));
            for (const auto& [text, ground] : {std::pair{"textOnAccent", "accent"},
                                               {"textOnAccent", "accentHover"},
                                               {"danger", "dangerSoft"},
                                               {"warning", "warningSoft"}})
                QVERIFY2(ratio(text, ground) >= 4.5,
                         qPrintable(describe(name, text, ground, ratio(text, ground))));
            if (name != QLatin1String("nightOwl"))
                QVERIFY2(ratio("textPrimary", "background") >= 7.0, qPrintable(name));
        }
    }

    void nightOwlIsDarkBlue() {
        const ThemePalette owl = ThemePalette::nightOwl();
        for (const QColor& ground : {owl.background, owl.surface, owl.sidebar}) {
            QVERIFY(ground.lightnessF() < 0.2);
            QVERIFY(ground.blue() > ground.red() && ground.blue() > ground.green());
        }
        QVERIFY(owl.accent.blue() > owl.accent.red());
    }

    void paletteFollowsTheChoiceOwnershipAndSystem_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("owned");
        QTest::addColumn<bool>("highContrast");
        QTest::addColumn<bool>("systemDark");
        QTest::addColumn<QString>("palette");
        QTest::newRow("system, light desktop") << "system" << false << false << false << "light";
        QTest::newRow("system, dark desktop") << "system" << false << false << true << "dark";
        QTest::newRow("light on a dark desktop") << "light" << false << false << true << "light";
        QTest::newRow("dark on a light desktop") << "dark" << false << false << false << "dark";
        QTest::newRow("night owl owned") << "nightOwl" << true << false << false << "nightOwl";
        QTest::newRow("night owl not owned, light") << "nightOwl" << false << false << false << "light";
        QTest::newRow("night owl not owned, dark") << "nightOwl" << false << false << true << "dark";
        QTest::newRow("unknown choice") << "sepia" << true << false << true << "dark";
        QTest::newRow("high contrast over night owl")
            << "nightOwl" << true << true << false << "highContrastDark";
        QTest::newRow("high contrast, light") << "light" << false << true << true << "highContrastLight";
        QTest::newRow("high contrast, system dark")
            << "system" << false << true << true << "highContrastDark";
        QTest::newRow("high contrast, system light")
            << "system" << false << true << false << "highContrastLight";
        QTest::newRow("high contrast, owl not owned")
            << "nightOwl" << false << true << false << "highContrastLight";
    }
    void paletteFollowsTheChoiceOwnershipAndSystem() {
        QFETCH(QString, choice);
        QFETCH(bool, owned);
        QFETCH(bool, highContrast);
        QFETCH(bool, systemDark);
        QFETCH(QString, palette);
        QCOMPARE(Appearance::paletteFor(choice, owned, highContrast, systemDark), palette);
    }

    void highContrastFollowsTheEnvironmentThenGtk() {
        const QString hcSettings = QStringLiteral("[Settings]\ngtk-theme-name=HighContrastInverse\n");
        const QString plainSettings = QStringLiteral("[Settings]\ngtk-theme-name = Adwaita\n");
        QVERIFY(Appearance::highContrastFrom("1", {}, plainSettings));
        QVERIFY(Appearance::highContrastFrom(" TRUE ", "Adwaita", {}));
        QVERIFY(!Appearance::highContrastFrom("0", "HighContrast", hcSettings));
        QVERIFY(!Appearance::highContrastFrom("false", {}, hcSettings));
        QVERIFY(Appearance::highContrastFrom({}, "HighContrast:dark", plainSettings));
        QVERIFY(!Appearance::highContrastFrom({}, "Adwaita:dark", hcSettings));
        QVERIFY(Appearance::highContrastFrom({}, {}, hcSettings));
        QVERIFY(!Appearance::highContrastFrom({}, {}, plainSettings));
        QVERIFY(!Appearance::highContrastFrom({}, {}, {}));
        QVERIFY(
            !Appearance::highContrastFrom("maybe", {}, QStringLiteral("gtk-icon-theme-name=HighContrast")));
    }

    void setChoiceKeepsKnownValuesAndSignalsOnlyChanges() {
        QSignalSpy changed(&appearance, &Appearance::changed);
        appearance.setChoice(Appearance::nightOwl);
        QCOMPARE(appearance.choice(), Appearance::nightOwl);
        QCOMPARE(changed.size(), 1);
        appearance.setChoice(Appearance::nightOwl);
        QCOMPARE(changed.size(), 1);
        appearance.setChoice(QStringLiteral("Night Owl"));
        QCOMPARE(appearance.choice(), Appearance::system);
        QCOMPARE(changed.size(), 2);
    }

    // Theme's colours follow the Appearance handed to QML.
    void themeFollowsAppearance() {
        QQmlEngine engine;
        engine.addImportPath("qrc:/qt/qml");
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport DesignKit\nItem {\n"
                          "  property color background: Theme.color.background\n"
                          "  property color label: Theme.color.textOnAccent\n"
                          "  property bool dark: Theme.dark\n}\n",
                          QUrl("qrc:/theme.qml"));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        appearance.setChoice(Appearance::light);
        QCOMPARE(root->property("background").value<QColor>(), ThemePalette::light().background);
        QVERIFY(!root->property("dark").toBool());

        appearance.setChoice(Appearance::nightOwl);
        appearance.setNightOwlOwned(true);
        QCOMPARE(root->property("background").value<QColor>(), QColor("#0B1A30"));
        QCOMPARE(root->property("label").value<QColor>(), ThemePalette::nightOwl().textOnAccent);
        QVERIFY(root->property("dark").toBool());

        appearance.setHighContrast(true);
        QCOMPARE(root->property("background").value<QColor>(), QColor(Qt::black));

        appearance.setHighContrast(false);
        appearance.setNightOwlOwned(false);
        QCOMPARE(root->property("background").value<QColor>(),
                 ThemePalette::named(appearance.systemDark() ? "dark" : "light").background);
    }
};

QTEST_MAIN(AppearanceTest)
#include "tst_Appearance.moc"
