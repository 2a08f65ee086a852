#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

struct ServerContext;

// Each user's latest reading guide per course, document (empty for the whole course) and style, as
// the GuidedReadingPlan record it was answered with.
class GuidedReadingStore {
public:
    struct Key {
        QString userId;
        QString courseId;
        QString documentId;
        QString templateType;
    };

    explicit GuidedReadingStore(ServerContext& context) : context_(context) {}

    std::optional<QJsonObject> plan(const Key& key);
    // Replaces the stored plan; false when it could not be written.
    bool store(const Key& key, const QJsonObject& plan);

private:
    ServerContext& context_;
};
