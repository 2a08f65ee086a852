#include "ThemePalette.h"

namespace {

QColor hex(const char* value) {
    return QColor(QLatin1String(value));
}

} // namespace

ThemePalette ThemePalette::light() {
    return {hex("#5B4BDB"), hex("#4A3BC4"), hex("#FFFFFF"), hex("#ECE9FF"), hex("#F7F7FB"), hex("#FFFFFF"),
            hex("#F0F0F6"), hex("#F3F3F8"), hex("#E3E3EC"), hex("#1C1B29"), hex("#5F5E72"), hex("#8E8DA0"),
            hex("#C62D3A"), hex("#FDECEE"), hex("#8A5A00"), hex("#FFF4DB"), hex("#1D8A55"), hex("#7A6CF0")};
}

ThemePalette ThemePalette::dark() {
    return {hex("#8B7CFF"), hex("#A094FF"), hex("#FFFFFF"), hex("#2E2A52"), hex("#16161D"), hex("#1F1F29"),
            hex("#1B1B24"), hex("#2A2A36"), hex("#33333F"), hex("#F2F2F7"), hex("#A8A8B8"), hex("#75758A"),
            hex("#FF7A7A"), hex("#3A2024"), hex("#F5C451"), hex("#3A3020"), hex("#5FD39A"), hex("#B3A9FF")};
}

ThemePalette ThemePalette::nightOwl() {
    // A light blue accent under navy text: a white label on a mid blue can't reach 4.5:1 while the
    // same blue, as text, still reads on the navy surfaces.
    return {hex("#82AAFF"), hex("#9DBCFF"), hex("#0B1A30"), hex("#15305A"), hex("#0B1A30"), hex("#10233F"),
            hex("#0D1E37"), hex("#17304F"), hex("#1F3A5E"), hex("#E6EEFB"), hex("#A9BCD9"), hex("#8DA3C4"),
            hex("#FF8A8A"), hex("#3A1C2A"), hex("#F2C14E"), hex("#33301F"), hex("#5CD6A0"), hex("#C3D5FF")};
}

ThemePalette ThemePalette::highContrastLight() {
    return {hex("#2A1C9E"), hex("#1E1478"), hex("#FFFFFF"), hex("#E4E0FF"), hex("#FFFFFF"), hex("#FFFFFF"),
            hex("#FFFFFF"), hex("#F0F0F0"), hex("#000000"), hex("#000000"), hex("#1A1A1A"), hex("#333333"),
            hex("#9E0012"), hex("#FFE5E8"), hex("#5C3A00"), hex("#FFF2D0"), hex("#00592E"), hex("#000000")};
}

ThemePalette ThemePalette::highContrastDark() {
    return {hex("#C9C1FF"), hex("#DDD8FF"), hex("#000000"), hex("#1E1A3A"), hex("#000000"), hex("#000000"),
            hex("#000000"), hex("#141414"), hex("#FFFFFF"), hex("#FFFFFF"), hex("#E6E6E6"), hex("#CCCCCC"),
            hex("#FFA3A3"), hex("#2A0E12"), hex("#FFD866"), hex("#2A2410"), hex("#7CF0B8"), hex("#FFFF00")};
}

ThemePalette ThemePalette::named(const QString& name) {
    if (name == QLatin1String("dark"))
        return dark();
    if (name == QLatin1String("nightOwl"))
        return nightOwl();
    if (name == QLatin1String("highContrastLight"))
        return highContrastLight();
    if (name == QLatin1String("highContrastDark"))
        return highContrastDark();
    return light();
}

QStringList ThemePalette::names() {
    return {QStringLiteral("light"), QStringLiteral("dark"), QStringLiteral("nightOwl"),
            QStringLiteral("highContrastLight"), QStringLiteral("highContrastDark")};
}

QVariantMap ThemePalette::toMap() const {
    return {{QStringLiteral("accent"), accent},
            {QStringLiteral("accentHover"), accentHover},
            {QStringLiteral("textOnAccent"), textOnAccent},
            {QStringLiteral("accentSoft"), accentSoft},
            {QStringLiteral("background"), background},
            {QStringLiteral("surface"), surface},
            {QStringLiteral("sidebar"), sidebar},
            {QStringLiteral("raised"), raised},
            {QStringLiteral("separator"), separator},
            {QStringLiteral("textPrimary"), textPrimary},
            {QStringLiteral("textSecondary"), textSecondary},
            {QStringLiteral("textTertiary"), textTertiary},
            {QStringLiteral("danger"), danger},
            {QStringLiteral("dangerSoft"), dangerSoft},
            {QStringLiteral("warning"), warning},
            {QStringLiteral("warningSoft"), warningSoft},
            {QStringLiteral("success"), success},
            {QStringLiteral("focusRing"), focusRing}};
}
