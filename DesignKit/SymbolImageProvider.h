#pragma once

#include <QQuickImageProvider>

// Serves "image://symbol/<symbol name>?color=<#rrggbb>" to QML: the bundled icon for the symbol,
// drawn in the given colour at the requested size.
class SymbolImageProvider : public QQuickImageProvider {
public:
    SymbolImageProvider();

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    // The icon for `id` drawn at `size` (tests and the provider).
    static QImage render(const QString& id, const QSize& size);
};
