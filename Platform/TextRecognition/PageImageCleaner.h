#pragma once

#include <QImage>

// Prepares a page image for recognition: grey levels at a working resolution near 300 DPI for an
// A4 page, then (each optional, for measuring) straightened and reduced to black and white.
// Pure image work with no shared state; safe on any thread.
class PageImageCleaner {
public:
    struct Steps {
        // Turns the page back when it was photographed a few degrees off (up to about 7°).
        bool deskew = true;
        // Black text on white with local thresholds, which evens out shadows and uneven light.
        bool binarise = true;
    };

    // The longest side a page is worked on at: an A4 page at 300 DPI. Larger photos are scaled
    // down to it; pages under half of it are scaled up, as small glyphs read poorly.
    static constexpr int workingLongSide = 3508;

    explicit PageImageCleaner(Steps steps) : steps_(steps) {}

    // An 8-bit grey image, or a null image for a null page.
    QImage clean(const QImage& page) const;

    // The angle in degrees that turns the page's text lines level, clockwise on screen when
    // positive (a page photographed 4° clockwise gives -4), or 0 when there is too little text to tell.
    static double skewAngle(const QImage& page);

private:
    Steps steps_;
};
