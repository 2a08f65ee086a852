#pragma once

#include <QString>

// Byte counts as text the way file sizes are shown: decimal units (1 KB = 1000 bytes), whole
// kilobytes, one decimal for megabytes and two above, no trailing zero ("2 MB", "2.1 MB").
class ByteCountFormatter {
public:
    static QString fileString(qint64 bytes);
};
