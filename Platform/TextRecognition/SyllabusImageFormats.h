#pragma once

#include <QStringList>

// The photo formats a syllabus can be picked in, limited to those this system can decode: PNG and
// JPEG always, WebP and TIFF with Qt's image format plugins, HEIC/HEIF only with a HEIF plugin.
class SyllabusImageFormats {
public:
    static bool canReadHeic();
    // File patterns, e.g. {"*.png", "*.jpg", "*.jpeg", "*.webp"}.
    static QStringList patterns();
    // File-dialog name filters: one entry for all of them, e.g. "Images (*.png *.jpg *.jpeg)".
    static QStringList nameFilters();
};
