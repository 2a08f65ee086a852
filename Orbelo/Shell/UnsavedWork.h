#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class UnsavedWorkRegistry;

// What a screen, sheet or model attaches to say it holds work that signing out would throw away,
// named as the end of "Signing out discards …":
//
//     UnsavedWork.description: quiz.phase === QuizModel.Running ? "the practice test you are taking" : ""
//
// An empty description (the default) means nothing is at stake.
class UnsavedWork : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("UnsavedWork is used as an attached property")
    QML_ATTACHED(UnsavedWork)
    Q_PROPERTY(QString description READ description WRITE setDescription NOTIFY descriptionChanged)
public:
    // Attached to `owner`, whose child it becomes; reported to `registry` while it lives.
    explicit UnsavedWork(QObject* owner);
    UnsavedWork(QObject* owner, UnsavedWorkRegistry& registry);
    ~UnsavedWork() override;

    static UnsavedWork* qmlAttachedProperties(QObject* object);

    QString description() const { return description_; }
    void setDescription(const QString& description);

Q_SIGNALS:
    void descriptionChanged();

private:
    UnsavedWorkRegistry& registry_;
    QString description_;
};
