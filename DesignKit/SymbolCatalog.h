#pragma once

#include <QString>
#include <QStringList>

// Maps the symbol names the screens use ("book.pages", "gift.fill") to the bundled icon set.
class SymbolCatalog {
public:
    // The resource path of the icon for `symbol`, or an empty string for a name that has none.
    static QString iconPath(const QString& symbol);
    // Every symbol name that has an icon, in no particular order.
    static QStringList symbols();
    // The icon drawn for a name that has none: a plain question mark, so a gap is visible but harmless.
    static QString fallbackIconPath();
};
