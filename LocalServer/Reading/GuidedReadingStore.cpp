#include "Reading/GuidedReadingStore.h"

#include "ServerContext.h"

#include <QJsonDocument>

namespace {
// A course's own guide is stored under an empty document id, never NULL, so that it has one row.
QString documentColumn(const QString& documentId) {
    return documentId.isEmpty() ? QStringLiteral("") : documentId;
}
} // namespace

std::optional<QJsonObject> GuidedReadingStore::plan(const Key& key) {
    const auto row =
        context_.db.row("SELECT plan FROM guided_reading_plans WHERE user_id = ? AND course_id = ? AND"
                        " document_id = ? AND template_type = ?",
                        {key.userId, key.courseId, documentColumn(key.documentId), key.templateType});
    if (!row)
        return std::nullopt;
    return QJsonDocument::fromJson(row->value("plan").toByteArray()).object();
}

bool GuidedReadingStore::store(const Key& key, const QJsonObject& plan) {
    return context_.db.exec("INSERT INTO guided_reading_plans (user_id, course_id, document_id,"
                            " template_type, plan, generated_at) VALUES (?, ?, ?, ?, ?, ?)"
                            " ON CONFLICT (user_id, course_id, document_id, template_type) DO UPDATE SET"
                            " plan = excluded.plan, generated_at = excluded.generated_at",
                            {key.userId, key.courseId, documentColumn(key.documentId), key.templateType,
                             QString::fromUtf8(QJsonDocument(plan).toJson(QJsonDocument::Compact)),
                             context_.nowMs()});
}
