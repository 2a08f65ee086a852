#include "ZipBuilder.h"

#include <zlib.h>

namespace {

void put16(QByteArray& out, quint16 value) {
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value) {
    put16(out, quint16(value & 0xffff));
    put16(out, quint16(value >> 16));
}

// The fields local headers and directory entries share, from the version needed to the name.
void putCommon(QByteArray& out, const ZipBuilder::Member& member) {
    const QByteArray name = member.name.toUtf8();
    put16(out, 20);
    put16(out, 0);
    put16(out, member.method);
    put32(out, 0); // time and date
    put32(out, member.crc);
    put32(out, quint32(member.packed.size()));
    put32(out, member.size);
    put16(out, quint16(name.size()));
    put16(out, 0);
}

} // namespace

ZipBuilder::Member ZipBuilder::stored(const QString& name, const QByteArray& data) {
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
    return {name, 0, quint32(crc), quint32(data.size()), data};
}

ZipBuilder::Member ZipBuilder::deflated(const QString& name, const QByteArray& data, int level) {
    Member member = stored(name, data);
    member.method = 8;
    QByteArray out(qsizetype(compressBound(uLong(data.size()))) + 64, Qt::Uninitialized);
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    member.packed = out;
    return member;
}

quint32 ZipBuilder::add(const Member& member) {
    const quint32 offset = addRecord(member);
    addEntry(member, offset);
    return offset;
}

quint32 ZipBuilder::addRecord(const Member& member) {
    const quint32 offset = quint32(records_.size());
    put32(records_, 0x04034b50);
    putCommon(records_, member);
    records_ += member.name.toUtf8() + member.packed;
    return offset;
}

void ZipBuilder::addEntry(const Member& member, quint32 offset) {
    put32(directory_, 0x02014b50);
    put16(directory_, 20); // version made by
    putCommon(directory_, member);
    put16(directory_, 0); // comment length
    put16(directory_, 0); // disk
    put16(directory_, 0); // internal attributes
    put32(directory_, 0); // external attributes
    put32(directory_, offset);
    directory_ += member.name.toUtf8();
    ++entries_;
}

QByteArray ZipBuilder::bytes() const {
    QByteArray out = records_ + directory_;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(entries_));
    put16(out, quint16(entries_));
    put32(out, quint32(directory_.size()));
    put32(out, quint32(records_.size()));
    put16(out, 0);
    return out;
}
