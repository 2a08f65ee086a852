#pragma once

#include <QByteArray>
#include <QString>

// Hand-made ZIP archives, including the hostile ones no zipper writes: sizes that lie, entries
// sharing one member's data, packed data with bytes after the deflate stream.
class ZipBuilder {
public:
    struct Member {
        QString name;
        quint16 method = 0; // 0 stored, 8 deflated
        quint32 crc = 0;
        quint32 size = 0; // the uncompressed size the headers declare
        QByteArray packed;
    };

    static Member stored(const QString& name, const QByteArray& data);
    // Level 1 by default, fast enough for members of many megabytes.
    static Member deflated(const QString& name, const QByteArray& data, int level = 1);

    // Writes the member's local record and a directory entry for it; answers its offset.
    quint32 add(const Member& member);
    // Writes only the member's local record; answers its offset.
    quint32 addRecord(const Member& member);
    // A directory entry for `member` whose local record lies at `offset`.
    void addEntry(const Member& member, quint32 offset);
    QByteArray bytes() const;

private:
    QByteArray records_;
    QByteArray directory_;
    int entries_ = 0;
};
