#include "SymbolCatalog.h"

#include <QHash>

namespace {

const QHash<QString, QString>& table() {
    static const QHash<QString, QString> names{
        {QStringLiteral("book.pages"), QStringLiteral("book-open-text")},
        {QStringLiteral("sparkles"), QStringLiteral("sparkles")},
        {QStringLiteral("rectangle.on.rectangle"), QStringLiteral("copy")},
        {QStringLiteral("checkmark.bubble"), QStringLiteral("list-checks")},
        {QStringLiteral("books.vertical"), QStringLiteral("library")},
        {QStringLiteral("gift.fill"), QStringLiteral("gift")},
        {QStringLiteral("bell"), QStringLiteral("bell")},
        {QStringLiteral("bell.badge"), QStringLiteral("bell-dot")},
        {QStringLiteral("gearshape"), QStringLiteral("settings")},
        {QStringLiteral("wifi.slash"), QStringLiteral("wifi-off")},
        {QStringLiteral("graduationcap.fill"), QStringLiteral("graduation-cap")},
        {QStringLiteral("exclamationmark.circle"), QStringLiteral("circle-alert")},
        {QStringLiteral("exclamationmark.triangle"), QStringLiteral("triangle-alert")},
        {QStringLiteral("tray"), QStringLiteral("inbox")},
        {QStringLiteral("person.crop.circle"), QStringLiteral("circle-user")},
        {QStringLiteral("rectangle.portrait.and.arrow.right"), QStringLiteral("log-out")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("refresh-cw")},
        {QStringLiteral("envelope"), QStringLiteral("mail")},
        {QStringLiteral("lock"), QStringLiteral("lock")},
        {QStringLiteral("key"), QStringLiteral("key-round")},
        {QStringLiteral("checkmark.shield"), QStringLiteral("shield-check")},
        {QStringLiteral("hourglass"), QStringLiteral("hourglass")},
        {QStringLiteral("questionmark.circle"), QStringLiteral("circle-help")},
        {QStringLiteral("tv"), QStringLiteral("tv")},
        {QStringLiteral("film"), QStringLiteral("film")},
        {QStringLiteral("sparkles.tv"), QStringLiteral("tv-minimal-play")},
        {QStringLiteral("wand.and.stars"), QStringLiteral("wand-sparkles")},
        {QStringLiteral("music.mic"), QStringLiteral("mic-vocal")},
        {QStringLiteral("globe.americas"), QStringLiteral("earth")},
        {QStringLiteral("sportscourt"), QStringLiteral("volleyball")},
        {QStringLiteral("paintpalette"), QStringLiteral("palette")},
        {QStringLiteral("building.columns"), QStringLiteral("school")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("search")},
        {QStringLiteral("lifepreserver"), QStringLiteral("life-buoy")},
        {QStringLiteral("doc.text"), QStringLiteral("file-text")},
        {QStringLiteral("hand.raised"), QStringLiteral("shield")},
        {QStringLiteral("trash"), QStringLiteral("trash-2")},
        {QStringLiteral("arrow.up.right.square"), QStringLiteral("external-link")},
        {QStringLiteral("checkmark"), QStringLiteral("check")},
        {QStringLiteral("xmark"), QStringLiteral("x")},
        {QStringLiteral("person.2"), QStringLiteral("users")},
        {QStringLiteral("heart"), QStringLiteral("heart")},
        {QStringLiteral("chevron.right"), QStringLiteral("chevron-right")},
        {QStringLiteral("character.book.closed"), QStringLiteral("book-a")},
        {QStringLiteral("play.circle.fill"), QStringLiteral("circle-play")},
        {QStringLiteral("pause.circle.fill"), QStringLiteral("circle-pause")},
        {QStringLiteral("stop.fill"), QStringLiteral("square")},
        {QStringLiteral("speaker.wave.3"), QStringLiteral("volume-2")},
        {QStringLiteral("lightbulb"), QStringLiteral("lightbulb")},
        {QStringLiteral("list.bullet.clipboard"), QStringLiteral("clipboard-list")},
        {QStringLiteral("mic"), QStringLiteral("mic")},
        {QStringLiteral("book.closed"), QStringLiteral("book")},
        {QStringLiteral("plus"), QStringLiteral("plus")},
        {QStringLiteral("square.and.arrow.up"), QStringLiteral("upload")},
        {QStringLiteral("doc.viewfinder"), QStringLiteral("scan-text")},
        {QStringLiteral("camera"), QStringLiteral("camera")},
        {QStringLiteral("photo.on.rectangle"), QStringLiteral("image")},
        {QStringLiteral("doc.richtext"), QStringLiteral("file-scan")},
        {QStringLiteral("plus.rectangle.on.folder"), QStringLiteral("folder-plus")},
        {QStringLiteral("calendar"), QStringLiteral("calendar")},
        {QStringLiteral("calendar.badge.plus"), QStringLiteral("calendar-plus")},
        {QStringLiteral("calendar.badge.minus"), QStringLiteral("calendar-x")},
        {QStringLiteral("link"), QStringLiteral("link")},
        {QStringLiteral("square.and.arrow.down"), QStringLiteral("download")},
        {QStringLiteral("xmark.circle"), QStringLiteral("circle-x")},
        {QStringLiteral("clock"), QStringLiteral("clock")},
        // The icon set has no filled variants; an active filter shows the funnel instead, so the
        // change of state stays visible.
        {QStringLiteral("line.3.horizontal.decrease.circle"), QStringLiteral("list-filter")},
        {QStringLiteral("line.3.horizontal.decrease.circle.fill"), QStringLiteral("filter")},
    };
    return names;
}

QString pathFor(const QString& file) {
    return QStringLiteral(":/qt/qml/DesignKit/icons/%1.svg").arg(file);
}

} // namespace

QString SymbolCatalog::iconPath(const QString& symbol) {
    const auto it = table().constFind(symbol);
    return it == table().cend() ? QString() : pathFor(*it);
}

QStringList SymbolCatalog::symbols() {
    return table().keys();
}

QString SymbolCatalog::fallbackIconPath() {
    return pathFor(QStringLiteral("circle-help"));
}
