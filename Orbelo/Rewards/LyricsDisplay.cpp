#include "Rewards/LyricsDisplay.h"

#include "Text/LyricsText.h"

namespace LyricsDisplay {

QVariantList lines(const QString& lyrics) {
    QVariantList out;
    for (const LyricsText::Line& line : LyricsText::parse(lyrics)) {
        QString kind = QStringLiteral("blank");
        if (line.kind == LyricsText::Line::Kind::header)
            kind = QStringLiteral("header");
        else if (line.kind == LyricsText::Line::Kind::lyric)
            kind = QStringLiteral("lyric");
        out << QVariantMap{{QStringLiteral("kind"), kind}, {QStringLiteral("text"), line.text}};
    }
    return out;
}

QString spokenText(const QString& lyrics) {
    QStringList spoken;
    for (const LyricsText::Line& line : LyricsText::parse(lyrics))
        if (line.kind != LyricsText::Line::Kind::blank)
            spoken << line.text;
    return spoken.join(QLatin1Char('\n'));
}

} // namespace LyricsDisplay
