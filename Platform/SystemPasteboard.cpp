#include "SystemPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>

QString SystemPasteboard::text() const {
    return QGuiApplication::clipboard()->text();
}

void SystemPasteboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}
