#include "Mnemonics/MnemonicStore.h"

#include "ServerContext.h"

#include <QJsonDocument>

void MnemonicStore::add(const QString& id, const QString& userId, const QString& documentId,
                        const QString& courseId, const QJsonObject& record) {
    // Empty ids are stored as NULL, so that a document's removal finds only its own.
    const auto nullable = [](const QString& value) { return value.isEmpty() ? QVariant() : QVariant(value); };
    context_.db.exec("INSERT INTO mnemonics (id, user_id, document_id, course_id, mnemonic_type, difficulty, "
                     "record, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                     {id, userId, nullable(documentId), nullable(courseId), record.value("type").toString(),
                      record.value("difficulty").toString(),
                      QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact)),
                      record.value("created_at").toString()});
}
