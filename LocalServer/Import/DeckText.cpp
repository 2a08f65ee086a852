#include "Import/DeckText.h"

#include <QStringDecoder>

namespace {

const QString notTextMessage = QStringLiteral("That file isn't plain text. Choose a .txt, .csv or .tsv file. "
                                              "In Quizlet, open your set and choose Export.");

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> prefix) {
    if (bytes.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char byte : prefix) {
        if (static_cast<unsigned char>(bytes[i++]) != byte)
            return false;
    }
    return true;
}

// UTF-16 without a byte order mark shows as ASCII with a zero byte beside every letter; judged on
// the first 256 bytes.
std::optional<QStringConverter::Encoding> bomlessUtf16(const QByteArray& bytes) {
    const qsizetype length = qMin<qsizetype>(bytes.size(), 256) & ~qsizetype(1);
    if (length < 4)
        return std::nullopt;
    bool evenZero = true;
    bool oddZero = true;
    for (qsizetype i = 0; i < length; i += 2) {
        evenZero = evenZero && bytes[i] == 0 && bytes[i + 1] != 0;
        oddZero = oddZero && bytes[i + 1] == 0 && bytes[i] != 0;
    }
    if (oddZero)
        return QStringConverter::Utf16LE;
    if (evenZero)
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// Text files hold tabs and line ends, and seldom any other control byte; binary files hold
// zero bytes, and many controls.
bool looksBinary(const QByteArray& bytes) {
    qsizetype controls = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            return true;
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') || byte == 0x7f)
            ++controls;
    }
    return controls * 100 > bytes.size();
}

QString normalizedLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

DeckText decoded(const QByteArray& bytes, QStringConverter::Encoding encoding, const QString& name) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return DeckText{{}, name, notTextMessage};
    return DeckText{normalizedLineEnds(text), name, {}};
}

} // namespace

DeckText DeckText::decode(const QByteArray& bytes) {
    if (startsWith(bytes, {0xef, 0xbb, 0xbf}))
        return decoded(bytes.mid(3), QStringConverter::Utf8, QStringLiteral("UTF-8"));
    if (startsWith(bytes, {0xff, 0xfe}))
        return decoded(bytes.mid(2), QStringConverter::Utf16LE, QStringLiteral("UTF-16LE"));
    if (startsWith(bytes, {0xfe, 0xff}))
        return decoded(bytes.mid(2), QStringConverter::Utf16BE, QStringLiteral("UTF-16BE"));
    if (const auto utf16 = bomlessUtf16(bytes))
        return decoded(bytes, *utf16,
                       *utf16 == QStringConverter::Utf16LE ? QStringLiteral("UTF-16LE")
                                                           : QStringLiteral("UTF-16BE"));
    if (bytes.startsWith("%PDF-"))
        return DeckText{{},
                        {},
                        QStringLiteral("That file is a PDF, not a text export. In Quizlet, open your set "
                                       "and choose Export, then upload the .txt file.")};
    if (looksBinary(bytes))
        return DeckText{{}, {}, notTextMessage};
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return DeckText{normalizedLineEnds(text), QStringLiteral("UTF-8"), {}};
    return DeckText{normalizedLineEnds(QString::fromLatin1(bytes)), QStringLiteral("ISO-8859-1"), {}};
}
