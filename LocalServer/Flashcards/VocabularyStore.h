#pragma once

#include <QJsonArray>
#include <QString>
#include <functional>
#include <optional>

struct ServerContext;

// Each course's vocabulary (VocabularyTerm records), kept in step with its vocabulary cards.
class VocabularyStore {
public:
    explicit VocabularyStore(ServerContext& context) : context_(context) {}

    // Nothing when the vocabulary was never generated.
    std::optional<QJsonArray> terms(const QString& courseId);
    // Replaces the terms and syncs the course's vocabulary cards; runs inside the caller's
    // transaction.
    void save(const QString& courseId, const QString& userId, const QJsonArray& terms);
    // In one transaction: reads the terms (empty when none), saves what `change` makes of them and
    // answers that.
    QJsonArray update(const QString& courseId, const QString& userId,
                      const std::function<QJsonArray(QJsonArray)>& change);

private:
    ServerContext& context_;
};
