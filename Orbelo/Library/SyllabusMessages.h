#pragma once

#include <QString>

#include <optional>

// The lines the Library shows while a syllabus becomes a course, and the rules that pick them.
namespace SyllabusMessages {

// How the pages of a syllabus reached the device.
enum class Material { scan, photos };

// Recognised text shorter than this, once trimmed, is too little to send.
inline constexpr int minimumTextLength = 50;

bool isReadable(const QString& text);
// "photo", "3 photos", "4-page scan".
QString materialLabel(Material material, int pageCount);
// The refusal of a text that is too short, said before any request.
QString tooShortMessage(Material material);
QString readingStatus(Material material, int pageCount);

QString pdfReadingStatus(const QString& filename);
QString scannedPdfStatus();
QString unreadablePdfMessage();

// The message line for a finished import: an info line, or an error line.
struct Line {
    QString info;
    QString error;
};
// A result that reports status "success" creates a course, named when the backend names it.
Line forResult(const std::optional<QString>& status, const std::optional<QString>& courseName);
// The line for a submission that failed with this description.
Line forError(const QString& description);
QString createdCourse(const QString& courseName);

// Following a document uploaded without a course that the backend may turn into one.
QString stillProcessingStatus(const QString& filename);
QString stillProcessingAfterWatch(const QString& filename);

} // namespace SyllabusMessages
