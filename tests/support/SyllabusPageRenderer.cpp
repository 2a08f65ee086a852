#include "SyllabusPageRenderer.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

const char* const syllabus = R"(BIOL 201: Cell Biology - Fall Semester 2026
Department of Biological Sciences, Hamilton Hall Room 214

Instructor: Dr. Margaret Ellison
Email: m.ellison@northfield.edu
Office hours: Tuesday and Thursday 2:00 to 4:00 pm, Hamilton Hall 318, or by appointment
Lectures: Monday, Wednesday and Friday 10:00 to 10:50 am
Teaching assistant: Daniel Okafor (labs and grading questions)

Course description
This course introduces the structure and function of eukaryotic cells. We study membranes,
organelles, the cytoskeleton, cell signalling, the cell cycle and the regulation of gene
expression, with an emphasis on the experiments that revealed how cells work.

Required textbook
Alberts et al., Essential Cell Biology, 6th edition. Weekly readings are listed below.

Grading
Weekly quizzes 15 percent
Laboratory reports 25 percent
Midterm examination 25 percent
Final examination 35 percent
Late work loses ten percent per day unless arranged in advance.

Schedule of topics
Week 1: Introduction to cells, microscopy and the scale of life (Chapter 1)
Week 2: Chemical components of cells and macromolecules (Chapter 2)
Week 3: Energy, catalysis and enzyme kinetics (Chapter 3)
Week 4: Protein structure, folding and function (Chapter 4)
Week 5: DNA replication, repair and recombination (Chapters 5 and 6)
Week 6: From DNA to protein: transcription and translation (Chapter 7)
Week 7: Midterm review and midterm examination on Friday
Week 8: Membrane structure and membrane transport (Chapters 11 and 12)
Week 9: Mitochondria, chloroplasts and cellular respiration (Chapters 13 and 14)
Week 10: Intracellular compartments and protein sorting (Chapter 15)
Week 11: Cell signalling and signal transduction pathways (Chapter 16)
Week 12: The cytoskeleton and cell movement (Chapter 17)
Week 13: The cell cycle and its control (Chapter 18)
Week 14: Cancer as a disease of cell regulation; final review

Academic integrity
All submitted work must be your own. Collaboration on laboratory work is encouraged, but each
student writes an individual report. Suspected misconduct is referred to the Dean of Students.)";

constexpr double a4WidthInches = 210.0 / 25.4;
constexpr double a4HeightInches = 297.0 / 25.4;

QImage drawPage(int dpi) {
    QImage page(int(std::lround(a4WidthInches * dpi)), int(std::lround(a4HeightInches * dpi)),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    page.setDotsPerMeterY(page.dotsPerMeterX());
    QPainter painter(&page);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(int(std::lround(11.0 / 72 * dpi)));
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    const int margin = int(std::lround(0.9 * dpi));
    const QRect area(margin, margin, page.width() - 2 * margin, page.height() - 2 * margin);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, SyllabusPageRenderer::text());
    return page;
}

QImage rotated(const QImage& page, double degrees) {
    QImage out(page.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(page.width() / 2.0, page.height() / 2.0);
    painter.rotate(degrees);
    painter.translate(-page.width() / 2.0, -page.height() / 2.0);
    painter.drawImage(0, 0, page);
    return out;
}

// Light falling from the top left: the far corner ends at about 55% brightness, as under a desk lamp.
void darkenUnevenly(QImage& page) {
    const double diagonal = std::hypot(page.width(), page.height());
    for (int y = 0; y < page.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const double light = 1.0 - 0.45 * std::hypot(x, y) / diagonal;
            const int g = int(qGray(line[x]) * light);
            line[x] = qRgb(g, g, g);
        }
    }
}

// A camera's softness (a 3x3 box blur) and its sensor noise, seeded so every run draws the same page.
void blurAndAddNoise(QImage& page) {
    const QImage source = page.copy();
    std::mt19937 random(20260906);
    std::normal_distribution<double> noise(0.0, 9.0);
    for (int y = 1; y < page.height() - 1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 1; x < page.width() - 1; ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y + dy));
                for (int dx = -1; dx <= 1; ++dx)
                    sum += qGray(from[x + dx]);
            }
            const int g = std::clamp(int(sum / 9.0 + noise(random)), 0, 255);
            line[x] = qRgb(g, g, g);
        }
    }
}

} // namespace

QString SyllabusPageRenderer::text() {
    return QString::fromLatin1(syllabus);
}

QImage SyllabusPageRenderer::renderPage(int dpi) {
    return drawPage(dpi);
}

QImage SyllabusPageRenderer::renderPage(int dpi, Photo photo) {
    QImage page = drawPage(dpi);
    if (photo.rotationDegrees != 0)
        page = rotated(page, photo.rotationDegrees);
    if (photo.unevenLight)
        darkenUnevenly(page);
    if (photo.blurAndNoise)
        blurAndAddNoise(page);
    return page;
}

QImage SyllabusPageRenderer::renderPhoto(int dpi, double rotationDegrees) {
    return renderPage(dpi, Photo{rotationDegrees, true, true});
}

bool SyllabusPageRenderer::writePdf(const QString& path, int pageCount, int dpi) {
    return writePdf(path, pageCount, dpi, Photo());
}

bool SyllabusPageRenderer::writePdf(const QString& path, int pageCount, int dpi, Photo photo) {
    const QImage page = renderPage(dpi, photo);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(dpi);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0)
            writer.newPage();
        painter.drawImage(QRect(QPoint(0, 0), page.size()), page);
    }
    return painter.end();
}
