#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Read-only access to the members of a ZIP archive held in memory (stored and deflated
// members), enough for the XML parts of Office documents.
class ZipArchive {
public:
    // Nothing when the bytes are not a readable archive.
    static std::optional<ZipArchive> open(const QByteArray& bytes);

    QStringList names() const { return entries_.keys(); }
    // The member's uncompressed bytes; nothing when it is absent, damaged (wrong checksum) or
    // too large.
    std::optional<QByteArray> read(const QString& name) const;

private:
    struct Entry {
        quint16 method = 0;
        quint32 crc = 0;
        quint32 compressedSize = 0;
        quint32 size = 0;
        quint32 localHeaderOffset = 0;
    };

    QByteArray bytes_;
    QMap<QString, Entry> entries_;
};
