#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Read-only access to the members of a ZIP archive held in memory (stored and deflated
// members), enough for the XML parts of Office documents. Uploads are hostile: the directory is
// checked against the limits below before anything is inflated, and the limits are enforced
// again while inflating, since the sizes a header declares may lie.
class ZipArchive {
public:
    enum class Error {
        none,
        unreadable,         // not an archive, or its directory or headers are cut or inconsistent
        tooManyEntries,     // more than maxEntries
        overlappingEntries, // two entries share or overlap their data
        entryTooLarge,      // a member unpacks to more than maxEntryBytes
        archiveTooLarge,    // the members unpack to more than maxTotalBytes together
        ratioTooHigh,       // a member unpacks to more than maxRatio times its packed size
        missing,            // no member has the name read
        damaged,            // a member's data does not inflate or fails its checksum
    };

    static constexpr int maxEntries = 2000;
    static constexpr qint64 maxEntryBytes = 20 * 1024 * 1024;
    static constexpr qint64 maxTotalBytes = 50 * 1024 * 1024;
    static constexpr qint64 maxRatio = 100;
    // Members up to this size may be packed more tightly: small runs of markup compress well.
    static constexpr qint64 ratioGraceBytes = 100 * 1024;

    // Reads the central directory; error() tells whether the archive can be read.
    static ZipArchive open(const QByteArray& bytes);

    // Why the archive could not be opened, or why the last read failed.
    Error error() const { return error_; }
    QStringList names() const { return entries_.keys(); }
    // The member's uncompressed bytes; nothing when it cannot be read (see error()). Every read
    // counts towards maxTotalBytes.
    std::optional<QByteArray> read(const QString& name);

private:
    struct Entry {
        quint16 method = 0;
        quint32 crc = 0;
        qint64 compressedSize = 0;
        qint64 size = 0;
        qint64 dataStart = 0;
    };

    Error openDirectory();
    Error checkEntries() const;
    std::optional<QByteArray> fail(Error error);
    std::optional<QByteArray> inflated(const Entry& entry);

    QByteArray bytes_;
    QMap<QString, Entry> entries_;
    qint64 bytesRead_ = 0;
    Error error_ = Error::none;
};
