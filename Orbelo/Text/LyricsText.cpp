#include "Text/LyricsText.h"

#include <algorithm>
#include <array>

namespace {

bool isRule(QStringView line) {
    if (line.size() < 3)
        return false;
    const QChar marker = line.front();
    if (marker != u'-' && marker != u'*' && marker != u'_')
        return false;
    for (QChar c : line)
        if (c != marker)
            return false;
    return true;
}

bool isMetadata(const QString& normalized) {
    static constexpr std::array<QStringView, 7> keys{u"genre", u"length",   u"style", u"tempo",
                                                     u"mood",  u"duration", u"bpm"};
    const qsizetype colon = normalized.indexOf(u':');
    if (colon < 0)
        return false;
    const QString key = normalized.left(colon).trimmed().toLower();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// "# Verse" to "###### Verse": one to six markers and a space.
qsizetype headingMarkers(QStringView line) {
    qsizetype markers = 0;
    while (markers < line.size() && line[markers] == u'#')
        ++markers;
    const bool spaced = markers < line.size() && line[markers] == u' ';
    return markers >= 1 && markers <= 6 && spaced ? markers : 0;
}

QString unwrapEmphasis(QStringView text) {
    while (true) {
        if (text.size() >= 4 && text.startsWith(u"**") && text.endsWith(u"**"))
            text = text.mid(2, text.size() - 4).trimmed();
        else if (text.size() >= 2 && text.startsWith(u'*') && text.endsWith(u'*'))
            text = text.mid(1, text.size() - 2).trimmed();
        else
            return text.toString();
    }
}

} // namespace

QString LyricsText::normalized(QStringView line) {
    QString text = line.toString().remove(u'*');
    qsizetype i = 0;
    while (i < text.size()) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
        if (QChar::isLetter(c))
            break;
        i += QChar::requiresSurrogates(c) ? 2 : 1;
    }
    return text.mid(i).trimmed();
}

QList<LyricsText::Line> LyricsText::parse(QStringView lyrics) {
    QList<Line> lines;
    auto addBlank = [&] {
        if (!lines.isEmpty() && lines.back().kind != Line::Kind::blank)
            lines.append(Line::blank());
    };
    bool bodyStarted = false;
    const QString text = lyrics.toString().replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n');
    for (QStringView raw : QStringView(text).split(u'\n')) {
        const QStringView line = raw.trimmed();
        const QString normal = normalized(raw);
        const QString lowered = normal.toLower();
        if (lowered.startsWith(u"hook takeaway:") || lowered.startsWith(u"takeaway:"))
            continue;
        if (line.isEmpty() || isRule(line)) {
            addBlank();
            continue;
        }
        if (line.startsWith(u'[')) {
            bodyStarted = true;
        } else if (!bodyStarted && isMetadata(normal)) {
            continue;
        }
        if (const qsizetype markers = headingMarkers(line); markers > 0) {
            const QString header = unwrapEmphasis(line.mid(markers).trimmed());
            if (!header.isEmpty())
                lines.append(Line::header(header));
            continue;
        }
        lines.append(Line::lyric(line.toString()));
    }
    while (!lines.isEmpty() && lines.back().kind == Line::Kind::blank)
        lines.removeLast();
    return lines;
}
