#include "ZipArchive.h"

#include <zlib.h>

namespace {

constexpr quint32 endOfDirectorySignature = 0x06054b50;
constexpr quint32 directorySignature = 0x02014b50;
constexpr quint32 localSignature = 0x04034b50;
constexpr quint32 maxMemberBytes = 64 * 1024 * 1024;

quint16 u16(const QByteArray& bytes, qsizetype at) {
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

quint32 u32(const QByteArray& bytes, qsizetype at) {
    return quint32(u16(bytes, at)) | quint32(u16(bytes, at + 2)) << 16;
}

} // namespace

std::optional<ZipArchive> ZipArchive::open(const QByteArray& bytes) {
    // The end-of-directory record is the last 22 bytes plus a comment of up to 64 KiB.
    qsizetype end = -1;
    for (qsizetype at = bytes.size() - 22; at >= 0 && at >= bytes.size() - 22 - 65535; --at) {
        if (u32(bytes, at) == endOfDirectorySignature) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return std::nullopt;
    ZipArchive archive;
    archive.bytes_ = bytes;
    const int count = u16(bytes, end + 10);
    qsizetype at = u32(bytes, end + 16);
    for (int i = 0; i < count; ++i) {
        if (at + 46 > bytes.size() || u32(bytes, at) != directorySignature)
            return std::nullopt;
        Entry entry;
        entry.method = u16(bytes, at + 10);
        entry.crc = u32(bytes, at + 16);
        entry.compressedSize = u32(bytes, at + 20);
        entry.size = u32(bytes, at + 24);
        const int nameLength = u16(bytes, at + 28);
        const int extraLength = u16(bytes, at + 30);
        const int commentLength = u16(bytes, at + 32);
        entry.localHeaderOffset = u32(bytes, at + 42);
        if (at + 46 + nameLength > bytes.size())
            return std::nullopt;
        archive.entries_.insert(QString::fromUtf8(bytes.mid(at + 46, nameLength)), entry);
        at += 46 + nameLength + extraLength + commentLength;
    }
    return archive;
}

std::optional<QByteArray> ZipArchive::read(const QString& name) const {
    const auto found = entries_.constFind(name);
    if (found == entries_.constEnd() || found->size > maxMemberBytes)
        return std::nullopt;
    const qsizetype header = found->localHeaderOffset;
    if (header + 30 > bytes_.size() || u32(bytes_, header) != localSignature)
        return std::nullopt;
    const qsizetype dataStart = header + 30 + u16(bytes_, header + 26) + u16(bytes_, header + 28);
    if (dataStart + qsizetype(found->compressedSize) > bytes_.size())
        return std::nullopt;
    const QByteArray compressed = bytes_.mid(dataStart, found->compressedSize);
    auto checked = [&](const QByteArray& data) -> std::optional<QByteArray> {
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
        if (quint32(crc) != found->crc)
            return std::nullopt;
        return data;
    };
    if (found->method == 0)
        return checked(compressed);
    if (found->method != 8)
        return std::nullopt;

    QByteArray out(qsizetype(found->size), Qt::Uninitialized);
    z_stream stream{};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) // raw deflate, no zlib header
        return std::nullopt;
    const int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (status != Z_STREAM_END || stream.total_out != found->size)
        return std::nullopt;
    return checked(out);
}
