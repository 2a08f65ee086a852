#include "Documents/ZipArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZipArchive archive = ZipArchive::open(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (archive.names().size() > ZipArchive::maxEntries)
        __builtin_trap();
    // Whatever the headers claim, no member and no archive unpacks past its limit.
    qint64 total = 0;
    for (const QString& name : archive.names()) {
        const auto member = archive.read(name);
        if (!member)
            continue;
        if (member->size() > ZipArchive::maxEntryBytes)
            __builtin_trap();
        total += member->size();
    }
    if (total > ZipArchive::maxTotalBytes)
        __builtin_trap();
    return 0;
}
