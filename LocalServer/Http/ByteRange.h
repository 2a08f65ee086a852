#pragma once

#include <QByteArray>
#include <QtGlobal>

// A single "Range: bytes=…" request against a file of known size, for players that seek.
// Several ranges, other units or malformed values are ignored (the whole file is sent), as
// HTTP allows; a well-formed range that starts past the end cannot be satisfied (416).
struct ByteRange {
    enum class Kind { Whole, Partial, Unsatisfiable };

    Kind kind = Kind::Whole;
    qint64 first = 0;
    qint64 last = -1; // inclusive

    static ByteRange parse(const QByteArray& header, qint64 size);
    qint64 length() const { return last - first + 1; }
    // "bytes first-last/size", or "bytes */size" when unsatisfiable.
    QByteArray contentRange(qint64 size) const;
};
