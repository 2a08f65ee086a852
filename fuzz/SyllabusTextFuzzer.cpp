#include "Courses/MeetingDays.h"
#include "Courses/SyllabusAnalyzer.h"
#include "Courses/TermStart.h"

#include <cstddef>
#include <cstdint>

// A syllabus as any text a student may send: the class details, the first day of classes and the
// meeting days read from it must come out well formed, whatever the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const SyllabusAnalyzer syllabus = SyllabusAnalyzer::analyze(text);
    if (syllabus.isSyllabus && syllabus.signalCount < 3)
        __builtin_trap();
    syllabus.classInfo();

    const std::optional<QDate> start = TermStart::parse(TermStart::phrase(text), QDate(2026, 9, 1));
    if (start && !start->isValid())
        __builtin_trap();

    int previous = 0;
    for (const int day : MeetingDays::parse(text)) {
        if (day <= previous || day > 7)
            __builtin_trap();
        previous = day;
    }
    return 0;
}
