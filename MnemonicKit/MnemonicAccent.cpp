#include "MnemonicAccent.h"

QString rawValue(MnemonicAccent accent) {
    switch (accent) {
    case MnemonicAccent::orange:
        return QStringLiteral("orange");
    case MnemonicAccent::green:
        return QStringLiteral("green");
    case MnemonicAccent::blue:
        return QStringLiteral("blue");
    case MnemonicAccent::purple:
        return QStringLiteral("purple");
    case MnemonicAccent::yellow:
        return QStringLiteral("yellow");
    case MnemonicAccent::neutral:
        break;
    }
    return QStringLiteral("neutral");
}

MnemonicAccent mnemonicAccentForBackground(QStringView colour) {
    const QString hex = colour.trimmed().toString().remove(QLatin1Char('#')).toUpper();
    if (hex == u"FFF3E0")
        return MnemonicAccent::orange;
    if (hex == u"E8F5E9")
        return MnemonicAccent::green;
    if (hex == u"E3F2FD")
        return MnemonicAccent::blue;
    if (hex == u"F3E5F5")
        return MnemonicAccent::purple;
    if (hex == u"FFF9C4")
        return MnemonicAccent::yellow;
    return MnemonicAccent::neutral;
}
