#pragma once

#include "SignUp.h"

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The fields a verified sign-up still lacks, of those this screen can ask for: first and last name
// and the acceptance of the legal terms.
class SignUpCompletionStep : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QString firstName READ firstName WRITE setFirstName NOTIFY firstNameChanged)
    Q_PROPERTY(QString lastName READ lastName WRITE setLastName NOTIFY lastNameChanged)
    Q_PROPERTY(bool legalAccepted READ legalAccepted WRITE setLegalAccepted NOTIFY legalAcceptedChanged)
    Q_PROPERTY(bool needsFirstName READ needsFirstName NOTIFY missingFieldsChanged)
    Q_PROPERTY(bool needsLastName READ needsLastName NOTIFY missingFieldsChanged)
    Q_PROPERTY(bool needsLegalAcceptance READ needsLegalAcceptance NOTIFY missingFieldsChanged)
public:
    using QObject::QObject;

    // Whether this step can ask for every one of `fields`.
    static bool canComplete(const QStringList& fields);

    QString firstName() const { return firstName_; }
    void setFirstName(const QString& name);
    QString lastName() const { return lastName_; }
    void setLastName(const QString& name);
    bool legalAccepted() const { return legalAccepted_; }
    void setLegalAccepted(bool accepted);
    bool needsFirstName() const { return missingFields_.contains(QLatin1String("first_name")); }
    bool needsLastName() const { return missingFields_.contains(QLatin1String("last_name")); }
    bool needsLegalAcceptance() const { return missingFields_.contains(QLatin1String("legal_accepted")); }

    void setMissingFields(const QStringList& fields);
    // What was typed for the missing fields, as the sign-up update sends it.
    SignUp::UpdateParams fields() const;

Q_SIGNALS:
    void firstNameChanged();
    void lastNameChanged();
    void legalAcceptedChanged();
    void missingFieldsChanged();

private:
    QString firstName_;
    QString lastName_;
    bool legalAccepted_ = false;
    QStringList missingFields_;
};
