#pragma once

#include <QString>
#include <QVariantList>

// Song lyrics as the screens show and read them, from the cleaned lines of LyricsText.
namespace LyricsDisplay {

// {kind: "header" | "lyric" | "blank", text} per line.
QVariantList lines(const QString& lyrics);
// The headers and lyric lines, one per line, for reading aloud.
QString spokenText(const QString& lyrics);

} // namespace LyricsDisplay
