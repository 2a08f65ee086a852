#include "SystemPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

QString SystemPasteboard::text() const {
    return QGuiApplication::clipboard()->text();
}

void SystemPasteboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QImage SystemPasteboard::image() const {
    return QGuiApplication::clipboard()->image();
}

void SystemPasteboard::setImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}
