#include "SymbolImageProvider.h"

#include "SymbolCatalog.h"

#include <QColor>
#include <QFile>
#include <QLoggingCategory>
#include <QPainter>
#include <QSvgRenderer>
#include <QUrlQuery>

Q_LOGGING_CATEGORY(lcDesign, "com.orbelo.desktop.Design")

SymbolImageProvider::SymbolImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage SymbolImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize) {
    const QSize target = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(24, 24);
    if (size)
        *size = target;
    return render(id, target);
}

QImage SymbolImageProvider::render(const QString& id, const QSize& size) {
    const qsizetype query = id.indexOf(u'?');
    const QString symbol = query < 0 ? id : id.left(query);
    const QUrlQuery options(query < 0 ? QString() : id.mid(query + 1));
    QColor color(options.queryItemValue(QStringLiteral("color"), QUrl::FullyDecoded));
    if (!color.isValid())
        color = Qt::black;

    QString path = SymbolCatalog::iconPath(symbol);
    if (path.isEmpty()) {
        qCWarning(lcDesign) << "no icon for symbol" << symbol;
        path = SymbolCatalog::fallbackIconPath();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The icons draw with currentColor; give them the colour asked for.
    QByteArray svg = file.readAll();
    svg.replace("currentColor", color.name(QColor::HexRgb).toLatin1());

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (color.alphaF() < 1.0)
        painter.setOpacity(color.alphaF());
    renderer.render(&painter);
    return image;
}
