#include "Library/SyllabusMessages.h"

namespace SyllabusMessages {

bool isReadable(const QString& text) {
    return text.trimmed().size() >= minimumTextLength;
}

QString materialLabel(Material material, int pageCount) {
    if (material == Material::scan)
        return QString::number(pageCount) + QStringLiteral("-page scan");
    return pageCount == 1 ? QStringLiteral("photo") : QString::number(pageCount) + QStringLiteral(" photos");
}

QString tooShortMessage(Material material) {
    if (material == Material::scan)
        return QStringLiteral("We couldn't read enough text from that scan. "
                              "Try again with brighter, flatter pages, or import a PDF export instead.");
    return QStringLiteral("We couldn't read enough text from those photos. "
                          "Try clearer, flatter photos of each page, or import a PDF export instead.");
}

QString readingStatus(Material material, int pageCount) {
    return QStringLiteral("Reading your ") + materialLabel(material, pageCount) +
           QStringLiteral(" and extracting your class details.");
}

QString pdfReadingStatus(const QString& filename) {
    return QStringLiteral("Reading “") + filename + QStringLiteral("” and extracting your class details.");
}

QString scannedPdfStatus() {
    return QStringLiteral("This looks like a scanned PDF — reading the text on your device…");
}

QString unreadablePdfMessage() {
    return QStringLiteral("This PDF looks like images only and we couldn't read its text. "
                          "Try a searchable PDF export, or use Scan syllabus.");
}

QString createdCourse(const QString& courseName) {
    return QStringLiteral("Created your course “") + courseName +
           QStringLiteral("”. Find it in Study and Quiz.");
}

Line forResult(const std::optional<QString>& status, const std::optional<QString>& courseName) {
    if (status != QStringLiteral("success"))
        return {{},
                QStringLiteral("We couldn't find class details in that syllabus. Make sure it's a real "
                               "syllabus (not an image-only scan) and try again.")};
    if (courseName && !courseName->isEmpty())
        return {createdCourse(*courseName), {}};
    return {QStringLiteral("Your course is ready. Find it in Study and Quiz."), {}};
}

Line forError(const QString& description) {
    if (description.contains(QStringLiteral("empty_or_too_short")))
        return {{},
                QStringLiteral("We couldn't read enough text from that syllabus. "
                               "Try a clearer scan or a searchable PDF export.")};
    return {{}, QStringLiteral("Couldn't create your course: ") + description};
}

QString stillProcessingStatus(const QString& filename) {
    return QStringLiteral("Still processing ") + filename +
           QStringLiteral(". We'll add your course as soon as it's ready.");
}

QString stillProcessingAfterWatch(const QString& filename) {
    return filename + QStringLiteral(" is still processing. Choose Refresh (Ctrl+R) in a minute; ") +
           QStringLiteral("there's no need to upload it again.");
}

} // namespace SyllabusMessages
