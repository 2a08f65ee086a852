#include "Mnemonics/MnemonicAccentStyle.h"

namespace {

// {light background, light accent, light text, dark background, dark accent, dark text}
struct Palette {
    const char* colors[6];
};

Palette paletteFor(MnemonicAccent accent) {
    switch (accent) {
    case MnemonicAccent::orange:
        return {{"#FFF3E0", "#EF6C00", "#8A3A00", "#3A2A1A", "#FFA94D", "#FFD8B0"}};
    case MnemonicAccent::green:
        return {{"#E8F5E9", "#388E3C", "#1B5E20", "#1C3323", "#66BB6A", "#C8E6C9"}};
    case MnemonicAccent::blue:
        return {{"#E3F2FD", "#1976D2", "#0D47A1", "#18293D", "#64B5F6", "#CFE6FB"}};
    case MnemonicAccent::purple:
        return {{"#F3E5F5", "#8E24AA", "#4A148C", "#2F2137", "#BA68C8", "#EBD4EF"}};
    case MnemonicAccent::yellow:
        return {{"#FFF9C4", "#F9A825", "#5C4600", "#38341A", "#FFE066", "#FFF6B8"}};
    case MnemonicAccent::neutral:
        break;
    }
    return {{"#F4F4F7", "#9E9DAE", "#2B2A38", "#26262F", "#8E8DA0", "#E4E4EC"}};
}

} // namespace

MnemonicAccentStyle::Colors MnemonicAccentStyle::colors(MnemonicAccent accent, bool dark) {
    const Palette palette = paletteFor(accent);
    const int first = dark ? 3 : 0;
    return {QColor(QLatin1String(palette.colors[first])), QColor(QLatin1String(palette.colors[first + 1])),
            QColor(QLatin1String(palette.colors[first + 2]))};
}

QColor MnemonicAccentStyle::background(const QString& accent, bool dark) {
    return colors(fromName(accent), dark).background;
}

QColor MnemonicAccentStyle::accent(const QString& accent, bool dark) {
    return colors(fromName(accent), dark).accent;
}

QColor MnemonicAccentStyle::text(const QString& accent, bool dark) {
    return colors(fromName(accent), dark).text;
}

MnemonicAccent MnemonicAccentStyle::fromName(const QString& name) {
    for (MnemonicAccent accent : {MnemonicAccent::orange, MnemonicAccent::green, MnemonicAccent::blue,
                                  MnemonicAccent::purple, MnemonicAccent::yellow}) {
        if (rawValue(accent) == name)
            return accent;
    }
    return MnemonicAccent::neutral;
}
