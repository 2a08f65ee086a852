// make-syllabus-fixture <out.png|out.pdf> [--rotate deg] [--pages n] [--dpi n]
// Writes the test syllabus as a page image (a photo of it when rotated) or as an image-only PDF.
#include "SyllabusPageRenderer.h"

#include <QCommandLineParser>
#include <QGuiApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes the test syllabus as a page image or an image-only PDF.");
    parser.addHelpOption();
    parser.addPositionalArgument("out", "The file to write: .png, .jpg or .pdf");
    const QCommandLineOption rotate("rotate", "Photograph the page turned by this many degrees.", "deg", "0");
    const QCommandLineOption pages("pages", "Pages in a PDF.", "n", "1");
    const QCommandLineOption dpi("dpi", "Resolution of the page image.", "n", "200");
    parser.addOptions({rotate, pages, dpi});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QString out = parser.positionalArguments().first();
    const double degrees = parser.value(rotate).toDouble();
    const SyllabusPageRenderer::Photo photo =
        degrees == 0 ? SyllabusPageRenderer::Photo{} : SyllabusPageRenderer::Photo{degrees, true, true};
    const bool written = out.endsWith(".pdf", Qt::CaseInsensitive)
                             ? SyllabusPageRenderer::writePdf(out, parser.value(pages).toInt(),
                                                              parser.value(dpi).toInt(), photo)
                             : SyllabusPageRenderer::renderPage(parser.value(dpi).toInt(), photo).save(out);
    if (!written) {
        qCritical("could not write %s", qPrintable(out));
        return 1;
    }
    return 0;
}
