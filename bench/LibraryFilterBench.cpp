// One keystroke in the Library's search over 5,000 documents: the course filter and the search
// over every document, then the shown rows handed to the list model, as DocumentsModel does.
#include "Common/CourseFilter.h"
#include "Documents/DocumentText.h"
#include "Library/DocumentListModel.h"

#include <benchmark/benchmark.h>

namespace {

QList<DocumentItem> library(int count) {
    static const QStringList subjects{"Cell biology",   "Organic chemistry", "World history",
                                      "Linear algebra", "Microeconomics",    "Psychology"};
    QList<DocumentItem> documents;
    for (int i = 0; i < count; ++i) {
        DocumentItem document;
        document.id = QStringLiteral("doc-%1").arg(i);
        document.title = QStringLiteral("%1, lecture %2").arg(subjects[i % subjects.size()]).arg(i);
        document.filename = QStringLiteral("lecture-%1.pdf").arg(i);
        document.documentType = QStringLiteral("lecture");
        document.courseId = QStringLiteral("course-%1").arg(i % 12);
        document.status = QStringLiteral("ready");
        documents << document;
    }
    return documents;
}

void shownRows(const QList<DocumentItem>& documents, const CourseFilter& filter, const QString& search,
               DocumentListModel& rows) {
    QList<DocumentItem> shown;
    for (const DocumentItem& document : documents) {
        if (filter.passes(document) && DocumentText::matches(document, search))
            shown << document;
    }
    rows.setDocuments(shown, {});
}

// Typing "cell b" one letter at a time, then deleting it again: each iteration is one keystroke.
void BM_SearchKeystroke(benchmark::State& state) {
    const QList<DocumentItem> documents = library(int(state.range(0)));
    const QString typed = QStringLiteral("cell b");
    DocumentListModel rows;
    shownRows(documents, {}, {}, rows);
    qsizetype step = 0;
    for (auto _ : state) {
        const qsizetype length = step % (2 * typed.size());
        shownRows(documents, {},
                  typed.left(length < typed.size() ? length + 1 : 2 * typed.size() - length - 1), rows);
        ++step;
    }
}

void BM_CourseFilter(benchmark::State& state) {
    const QList<DocumentItem> documents = library(int(state.range(0)));
    DocumentListModel rows;
    int course = 0;
    for (auto _ : state) {
        shownRows(documents, CourseFilter::course(QStringLiteral("course-%1").arg(course++ % 12)), {}, rows);
    }
}

} // namespace

BENCHMARK(BM_SearchKeystroke)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CourseFilter)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
