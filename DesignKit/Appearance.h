#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// Which look the app wears: the student's choice ("system", "light", "dark" or "nightOwl"), whether
// Night Owl is theirs to wear (a bought theme reward), and the desktop's own requests for a dark or
// high-contrast look. High contrast wins over every choice; Night Owl falls back to the system's
// look while it isn't owned. The application makes one and hands it to exposeToQml(), so every QML
// engine shows the look the C++ side sets.
class Appearance : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString choice READ choice WRITE setChoice NOTIFY changed)
    Q_PROPERTY(bool nightOwlOwned READ nightOwlOwned WRITE setNightOwlOwned NOTIFY changed)
    Q_PROPERTY(bool highContrast READ highContrast WRITE setHighContrast NOTIFY changed)
    Q_PROPERTY(bool systemDark READ systemDark WRITE setSystemDark NOTIFY changed)
    Q_PROPERTY(QString paletteName READ paletteName NOTIFY changed)
    Q_PROPERTY(bool dark READ dark NOTIFY changed)
    Q_PROPERTY(QVariantMap colors READ colors NOTIFY changed)
public:
    static inline const QString system = QStringLiteral("system");
    static inline const QString light = QStringLiteral("light");
    static inline const QString darkChoice = QStringLiteral("dark");
    static inline const QString nightOwl = QStringLiteral("nightOwl");

    // No default argument: QML would construct its own instance rather than call create().
    explicit Appearance(QObject* parent);

    // QML's Appearance is the instance handed here (which stays the caller's).
    static void exposeToQml(Appearance* appearance);
    static Appearance* create(QQmlEngine*, QJSEngine*);

    QString choice() const { return choice_; }
    // An unknown value means "system".
    void setChoice(const QString& choice);
    bool nightOwlOwned() const { return nightOwlOwned_; }
    void setNightOwlOwned(bool owned);
    bool highContrast() const { return highContrast_; }
    void setHighContrast(bool highContrast);
    bool systemDark() const { return systemDark_; }
    void setSystemDark(bool dark);

    QString paletteName() const;
    bool dark() const;
    QVariantMap colors() const;

    // The palette ThemePalette::named takes for these inputs.
    static QString paletteFor(const QString& choice, bool nightOwlOwned, bool highContrast, bool systemDark);
    // Whether the desktop asks for high contrast: ORBELO_HIGH_CONTRAST (1/true/0/false) decides
    // when set; otherwise a GTK theme named High Contrast, from GTK_THEME or GTK's settings.ini.
    static bool highContrastFrom(const QByteArray& environmentValue, const QByteArray& gtkThemeEnvironment,
                                 const QString& gtkSettings);
    static QStringList choices();

Q_SIGNALS:
    void changed();

private:
    QString choice_ = system;
    bool nightOwlOwned_ = false;
    bool highContrast_ = false;
    bool systemDark_ = false;
};
