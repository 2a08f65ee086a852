#pragma once

#include "ParsedMnemonicGuide.h"

#include <QImage>
#include <QString>

// Paints a mnemonic as a picture to save or share, away from any window: a "Mnemonic Device"
// header with the title, the guide's tip and cards (two columns of accent-coloured cards) or the
// text of a plain mnemonic, and a footer with the app's name and "Mnemonic Notes". The picture is
// `width` points wide at `devicePixelRatio` and as tall as its content. Only QImage and
// QTextDocument are used, so it can run on a worker thread.
class MnemonicImageRenderer {
public:
    struct Options {
        int width = 1080;
        qreal devicePixelRatio = 2;
    };

    static inline const QString headerText = QStringLiteral("Mnemonic Device");
    static inline const QString footerText = QStringLiteral("Mnemonic Notes");
    static inline const QString appName = QStringLiteral("Orbelo");
    // The header band, the same in both themes: the picture is always light.
    static inline const QColor headerColor{0x5B, 0x4B, 0xDB};
    static inline const QColor footerColor{0xF0, 0xF0, 0xF6};

    // A mnemonic's text, shown as a guide when it parses into cards and as Markdown otherwise.
    // A null image when the picture cannot be made (a size no image can hold).
    static QImage render(const QString& mnemonicText, const QString& title, Options options);
    static QImage render(const QString& mnemonicText, const QString& title) {
        return render(mnemonicText, title, Options());
    }
};
