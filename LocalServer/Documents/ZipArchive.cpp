#include "Documents/ZipArchive.h"

#include <QList>
#include <algorithm>
#include <zlib.h>

namespace {

constexpr quint32 endOfDirectorySignature = 0x06054b50;
constexpr quint32 directorySignature = 0x02014b50;
constexpr quint32 localSignature = 0x04034b50;
constexpr quint16 storedMethod = 0;
constexpr quint16 deflatedMethod = 8;

quint16 u16(const QByteArray& bytes, qsizetype at) {
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

quint32 u32(const QByteArray& bytes, qsizetype at) {
    return quint32(u16(bytes, at)) | quint32(u16(bytes, at + 2)) << 16;
}

quint32 checksum(const QByteArray& data) {
    return quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
}

} // namespace

ZipArchive ZipArchive::open(const QByteArray& bytes) {
    ZipArchive archive;
    archive.bytes_ = bytes;
    archive.error_ = archive.openDirectory();
    if (archive.error_ == Error::none)
        archive.error_ = archive.checkEntries();
    if (archive.error_ != Error::none)
        archive.entries_.clear();
    return archive;
}

ZipArchive::Error ZipArchive::openDirectory() {
    // The end-of-directory record is the last 22 bytes plus a comment of up to 64 KiB.
    qsizetype end = -1;
    for (qsizetype at = bytes_.size() - 22; at >= 0 && at >= bytes_.size() - 22 - 65535; --at) {
        if (u32(bytes_, at) == endOfDirectorySignature) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return Error::unreadable;
    const int count = u16(bytes_, end + 10);
    if (count > maxEntries)
        return Error::tooManyEntries;
    // Each entry's local record: from its local header to the end of its packed data.
    QList<std::pair<qint64, qint64>> records;
    qint64 at = u32(bytes_, end + 16);
    for (int i = 0; i < count; ++i) {
        if (at + 46 > bytes_.size() || u32(bytes_, at) != directorySignature)
            return Error::unreadable;
        Entry entry;
        entry.method = u16(bytes_, at + 10);
        entry.crc = u32(bytes_, at + 16);
        entry.compressedSize = u32(bytes_, at + 20);
        entry.size = u32(bytes_, at + 24);
        const int nameLength = u16(bytes_, at + 28);
        const int extraLength = u16(bytes_, at + 30);
        const int commentLength = u16(bytes_, at + 32);
        const qint64 header = u32(bytes_, at + 42);
        if (at + 46 + nameLength > bytes_.size() || header + 30 > bytes_.size() ||
            u32(bytes_, header) != localSignature)
            return Error::unreadable;
        entry.dataStart = header + 30 + u16(bytes_, header + 26) + u16(bytes_, header + 28);
        if (entry.dataStart + entry.compressedSize > bytes_.size())
            return Error::unreadable;
        const QString name = QString::fromUtf8(bytes_.mid(at + 46, nameLength));
        if (entries_.contains(name))
            return Error::unreadable;
        entries_.insert(name, entry);
        records.append({header, entry.dataStart + entry.compressedSize});
        at += 46 + nameLength + extraLength + commentLength;
    }
    // Entries sharing data would let a small file unpack the same large member many times.
    std::sort(records.begin(), records.end());
    for (qsizetype i = 1; i < records.size(); ++i) {
        if (records[i].first < records[i - 1].second)
            return Error::overlappingEntries;
    }
    return Error::none;
}

ZipArchive::Error ZipArchive::checkEntries() const {
    qint64 total = 0;
    for (const Entry& entry : entries_) {
        if (entry.method == storedMethod && entry.size != entry.compressedSize)
            return Error::unreadable;
        if (entry.size > maxEntryBytes)
            return Error::entryTooLarge;
        if (entry.size > ratioGraceBytes && entry.size > entry.compressedSize * maxRatio)
            return Error::ratioTooHigh;
        total += entry.size;
    }
    return total > maxTotalBytes ? Error::archiveTooLarge : Error::none;
}

std::optional<QByteArray> ZipArchive::fail(Error error) {
    error_ = error;
    return std::nullopt;
}

std::optional<QByteArray> ZipArchive::read(const QString& name) {
    const auto found = entries_.constFind(name);
    if (found == entries_.constEnd())
        return fail(Error::missing);
    std::optional<QByteArray> data;
    if (found->method == storedMethod) {
        if (bytesRead_ + found->size > maxTotalBytes)
            return fail(Error::archiveTooLarge);
        data = bytes_.mid(found->dataStart, found->compressedSize);
    } else if (found->method == deflatedMethod) {
        data = inflated(*found);
    } else {
        return fail(Error::unreadable);
    }
    if (!data)
        return std::nullopt;
    if (checksum(*data) != found->crc)
        return fail(Error::damaged);
    bytesRead_ += data->size();
    error_ = Error::none;
    return data;
}

std::optional<QByteArray> ZipArchive::inflated(const Entry& entry) {
    // The declared size only sizes the first buffer: the output is counted as it is produced and
    // inflating stops one byte past the tightest limit.
    const qint64 ratioLimit = std::max(ratioGraceBytes, entry.compressedSize * maxRatio);
    const qint64 totalLimit = maxTotalBytes - bytesRead_;
    const qint64 limit = std::min({maxEntryBytes, ratioLimit, totalLimit});
    const Error overLimit = limit == maxEntryBytes ? Error::entryTooLarge
                            : limit == ratioLimit  ? Error::ratioTooHigh
                                                   : Error::archiveTooLarge;
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) // raw deflate, no zlib header
        return fail(Error::damaged);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes_.constData() + entry.dataStart));
    stream.avail_in = uInt(entry.compressedSize);
    QByteArray out;
    const qint64 firstBuffer = std::max<qint64>(entry.size + 1, 16 * 1024);
    int status = Z_OK;
    while (status == Z_OK && qint64(stream.total_out) <= limit) {
        const qint64 produced = qint64(stream.total_out);
        if (produced == out.size())
            out.resize(std::min(limit + 1, std::max<qint64>(out.size() * 2, firstBuffer)));
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        stream.avail_out = uInt(out.size() - produced);
        status = inflate(&stream, Z_NO_FLUSH);
    }
    const qint64 produced = qint64(stream.total_out);
    inflateEnd(&stream);
    if (produced > limit)
        return fail(overLimit);
    if (status != Z_STREAM_END || produced != entry.size)
        return fail(Error::damaged);
    out.resize(produced);
    return out;
}
