#include "SyllabusImageFormats.h"

#include <QImageReader>

bool SyllabusImageFormats::canReadHeic() {
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    return formats.contains("heic") || formats.contains("heif");
}

QStringList SyllabusImageFormats::patterns() {
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    const QList<std::pair<QByteArray, QStringList>> wanted = {
        {"png", {"*.png"}},   {"jpeg", {"*.jpg", "*.jpeg"}},
        {"webp", {"*.webp"}}, {"tiff", {"*.tif", "*.tiff"}},
        {"heic", {"*.heic"}}, {"heif", {"*.heif"}},
    };
    QStringList patterns;
    for (const auto& [format, suffixes] : wanted)
        if (readable.contains(format))
            patterns += suffixes;
    return patterns;
}

QStringList SyllabusImageFormats::nameFilters() {
    return {QStringLiteral("Images (%1)").arg(patterns().join(u' '))};
}
