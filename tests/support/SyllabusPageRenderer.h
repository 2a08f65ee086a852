#pragma once

#include <QImage>
#include <QString>

// Draws a known syllabus onto white A4 pages, for recognition tests and benchmarks: a clean page as
// a scanner would give it, or a "photo" of it (turned by a few degrees, lit unevenly, slightly
// blurred and noisy). The drawn words are text(); recognised text is compared with it.
class SyllabusPageRenderer {
public:
    struct Photo {
        double rotationDegrees = 0; // clockwise on screen
        bool unevenLight = false;
        bool blurAndNoise = false;
    };

    // The syllabus drawn on every page, with its line breaks.
    static QString text();

    // One A4 page at `dpi`, in DejaVu Serif at 11 points: clean, or with the photo's effects.
    static QImage renderPage(int dpi);
    static QImage renderPage(int dpi, Photo photo);
    // The same page as a camera would have taken it, with every effect of Photo.
    static QImage renderPhoto(int dpi, double rotationDegrees);

    // Writes an image-only PDF: every page is the rendered page, drawn as a picture with no text
    // layer, so the only way to get its words back is to read the pixels. False if it can't be written.
    static bool writePdf(const QString& path, int pageCount, int dpi);
    static bool writePdf(const QString& path, int pageCount, int dpi, Photo photo);
};
