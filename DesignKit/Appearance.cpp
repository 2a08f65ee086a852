#include "Appearance.h"

#include "ThemePalette.h"

#include <QFile>
#include <QPointer>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QPointer<Appearance> exposedAppearance;

bool namesHighContrast(const QString& themeName) {
    return themeName.contains(QLatin1String("highcontrast"), Qt::CaseInsensitive);
}

} // namespace

Appearance::Appearance(QObject* parent) : QObject(parent) {
    QString gtk;
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/gtk-3.0/settings.ini"));
    if (file.open(QIODevice::ReadOnly))
        gtk = QString::fromUtf8(file.readAll());
    highContrast_ = highContrastFrom(qgetenv("ORBELO_HIGH_CONTRAST"), qgetenv("GTK_THEME"), gtk);
}

void Appearance::exposeToQml(Appearance* appearance) {
    exposedAppearance = appearance;
}

Appearance* Appearance::create(QQmlEngine*, QJSEngine*) {
    Q_ASSERT_X(exposedAppearance, "Appearance", "QML asked for the look before the app made it");
    QQmlEngine::setObjectOwnership(exposedAppearance, QQmlEngine::CppOwnership);
    return exposedAppearance;
}

void Appearance::setChoice(const QString& choice) {
    const QString known = choices().contains(choice) ? choice : system;
    if (known == choice_)
        return;
    choice_ = known;
    Q_EMIT changed();
}

void Appearance::setNightOwlOwned(bool owned) {
    if (owned == nightOwlOwned_)
        return;
    nightOwlOwned_ = owned;
    Q_EMIT changed();
}

void Appearance::setHighContrast(bool highContrast) {
    if (highContrast == highContrast_)
        return;
    highContrast_ = highContrast;
    Q_EMIT changed();
}

void Appearance::setSystemDark(bool dark) {
    if (dark == systemDark_)
        return;
    systemDark_ = dark;
    Q_EMIT changed();
}

QString Appearance::paletteName() const {
    return paletteFor(choice_, nightOwlOwned_, highContrast_, systemDark_);
}

bool Appearance::dark() const {
    const QString name = paletteName();
    return name != QLatin1String("light") && name != QLatin1String("highContrastLight");
}

QVariantMap Appearance::colors() const {
    return ThemePalette::named(paletteName()).toMap();
}

QString Appearance::paletteFor(const QString& choice, bool nightOwlOwned, bool highContrast,
                               bool systemDark) {
    QString wanted = choices().contains(choice) ? choice : system;
    if (wanted == nightOwl && !nightOwlOwned)
        wanted = system;
    const bool dark = wanted == darkChoice || wanted == nightOwl || (wanted == system && systemDark);
    if (highContrast)
        return dark ? QStringLiteral("highContrastDark") : QStringLiteral("highContrastLight");
    if (wanted == nightOwl)
        return nightOwl;
    return dark ? QStringLiteral("dark") : QStringLiteral("light");
}

bool Appearance::highContrastFrom(const QByteArray& environmentValue, const QByteArray& gtkThemeEnvironment,
                                  const QString& gtkSettings) {
    const QByteArray env = environmentValue.trimmed().toLower();
    if (env == "1" || env == "true")
        return true;
    if (env == "0" || env == "false")
        return false;
    if (!gtkThemeEnvironment.trimmed().isEmpty())
        return namesHighContrast(QString::fromUtf8(gtkThemeEnvironment));
    static const QRegularExpression themeName(QStringLiteral("^\\s*gtk-theme-name\\s*=\\s*(\\S+)\\s*$"),
                                              QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = themeName.match(gtkSettings);
    return match.hasMatch() && namesHighContrast(match.captured(1));
}

QStringList Appearance::choices() {
    return {system, light, darkChoice, nightOwl};
}
