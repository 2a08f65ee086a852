#pragma once

#include "MnemonicAccent.h"

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The colours of a mnemonic card by its accent, in the light and the dark theme: the card's
// background, its accent (the stripe and border) and its text. The light backgrounds are the
// colours the generated guides use for their sections, so a card looks as it was written.
class MnemonicAccentStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    struct Colors {
        QColor background;
        QColor accent;
        QColor text;
    };

    using QObject::QObject;

    static Colors colors(MnemonicAccent accent, bool dark);

    // For the screens, which name accents by their raw value ("orange"); an unknown name is neutral.
    Q_INVOKABLE static QColor background(const QString& accent, bool dark);
    Q_INVOKABLE static QColor accent(const QString& accent, bool dark);
    Q_INVOKABLE static QColor text(const QString& accent, bool dark);

private:
    static MnemonicAccent fromName(const QString& name);
};
