#include "Http/ByteRange.h"

namespace {

// A run of digits as a non-negative number; -1 when empty or not digits only.
qint64 number(const QByteArray& digits) {
    if (digits.isEmpty() || digits.size() > 18)
        return -1;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
    }
    return digits.toLongLong();
}

} // namespace

ByteRange ByteRange::parse(const QByteArray& header, qint64 size) {
    ByteRange whole{Kind::Whole, 0, size - 1};
    const QByteArray value = header.trimmed();
    if (!value.startsWith("bytes=") || value.contains(','))
        return whole;
    const QByteArray rangeSet = value.mid(6).trimmed();
    const qsizetype dash = rangeSet.indexOf('-');
    if (dash < 0)
        return whole;
    const QByteArray from = rangeSet.left(dash).trimmed();
    const QByteArray to = rangeSet.mid(dash + 1).trimmed();
    if (from.isEmpty()) {
        // The last N bytes.
        const qint64 suffix = number(to);
        if (suffix < 0)
            return whole;
        if (suffix == 0 || size == 0)
            return {Kind::Unsatisfiable, 0, -1};
        return {Kind::Partial, qMax<qint64>(0, size - suffix), size - 1};
    }
    const qint64 first = number(from);
    const qint64 last = to.isEmpty() ? size - 1 : number(to);
    if (first < 0)
        return whole;
    if (first >= size)
        return {Kind::Unsatisfiable, 0, -1};
    if (last < first)
        return whole;
    return {Kind::Partial, first, qMin(last, size - 1)};
}

QByteArray ByteRange::contentRange(qint64 size) const {
    if (kind == Kind::Unsatisfiable)
        return "bytes */" + QByteArray::number(size);
    return "bytes " + QByteArray::number(first) + '-' + QByteArray::number(last) + '/' +
           QByteArray::number(size);
}
