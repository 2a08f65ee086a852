#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The colour of every role the screens use, for one look of the app. Theme.qml binds its colours
// to the palette Appearance picks.
struct ThemePalette {
    QColor accent;
    QColor accentHover;
    QColor textOnAccent;
    QColor accentSoft;
    QColor background;
    QColor surface;
    QColor sidebar;
    QColor raised;
    QColor separator;
    QColor textPrimary;
    QColor textSecondary;
    QColor textTertiary;
    QColor danger;
    QColor dangerSoft;
    QColor warning;
    QColor warningSoft;
    QColor success;
    QColor focusRing;

    static ThemePalette light();
    static ThemePalette dark();
    // Deep blue surfaces with a cool blue accent, for late study sessions.
    static ThemePalette nightOwl();
    static ThemePalette highContrastLight();
    static ThemePalette highContrastDark();
    // "light", "dark", "nightOwl", "highContrastLight" or "highContrastDark"; light otherwise.
    static ThemePalette named(const QString& name);
    static QStringList names();

    // Role name → colour, as QML reads it.
    QVariantMap toMap() const;
};
