#include "Speech/SpeechText.h"

QString SpeechText::ascii(const QString& text) {
    QString out;
    out.reserve(text.size());
    // Compatibility decomposition splits accents off their letters and ligatures and ellipses
    // into their letters and dots.
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.unicode() < 0x80) {
            out += c.isPrint() || c == u'\n' ? c : QChar(u' ');
            continue;
        }
        switch (c.unicode()) {
        case u'\u2018': // ‘ ’ ′
        case u'\u2019':
        case u'\u2032':
            out += u'\'';
            break;
        case u'\u201C': // “ ” ″
        case u'\u201D':
        case u'\u2033':
            out += u'"';
            break;
        case u'\u2010': // hyphen, non-breaking hyphen, figure and en dash, minus
        case u'\u2011':
        case u'\u2012':
        case u'\u2013':
        case u'\u2212':
            out += u'-';
            break;
        case u'\u2014': // — and ― are a pause
        case u'\u2015':
            out += QStringLiteral(", ");
            break;
        default:
            // Accents are left out; any other letter or sign is a word break.
            if (c.category() != QChar::Mark_NonSpacing)
                out += u' ';
        }
    }
    return out;
}
