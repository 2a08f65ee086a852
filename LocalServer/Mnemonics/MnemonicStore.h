#pragma once

#include <QJsonObject>
#include <QString>

struct ServerContext;

// Mnemonics the user asked to keep, each with the record it was answered with.
class MnemonicStore {
public:
    explicit MnemonicStore(ServerContext& context) : context_(context) {}

    // Stores `record` (a MnemonicResponse whose mnemonic_id is `id`) in one statement.
    void add(const QString& id, const QString& userId, const QString& documentId, const QString& courseId,
             const QJsonObject& record);

private:
    ServerContext& context_;
};
